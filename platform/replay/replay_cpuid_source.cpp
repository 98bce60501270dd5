#include "platform/replay/replay_cpuid_source.h"

#include <utility>

namespace velora {

ReplayCpuidSource::ReplayCpuidSource(CpuidRecording recording) : recording_(std::move(recording)) {}

bool ReplayCpuidSource::Available() { return !recording_.processors.empty(); }

CpuidRegisters ReplayCpuidSource::Query(uint32_t leaf, uint32_t subLeaf) {
  if (current_ >= recording_.processors.size()) return {};
  const CpuidLeaves& leaves = recording_.processors[current_].leaves;
  auto it = leaves.find({leaf, subLeaf});
  // Not recorded: zeros, as a processor answers above its highest leaf.
  return it == leaves.end() ? CpuidRegisters{} : it->second;
}

bool ReplayCpuidSource::PinThread(uint32_t mask) {
  // The lowest position of the mask that was recorded, where a thread allowed there may run.
  for (size_t bit = 0; bit < 32 && bit < recording_.processors.size(); ++bit) {
    if (mask >> bit & 1) {
      current_ = bit;
      return true;
    }
  }
  return false;
}

void ReplayCpuidSource::RestoreThread() { current_ = 0; }

}  // namespace velora
