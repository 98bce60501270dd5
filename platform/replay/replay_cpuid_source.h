#pragma once
// CPUID answered from a recording. Pinning to a single processor selects the recorded processor
// in that position (the n-th recorded for bit n); a mask naming no recorded processor is
// refused, as on a machine without it. Unpinned queries answer the first processor.

#include "platform/cpuid_source.h"
#include "platform/replay/recorded_cpuid.h"

namespace velora {

class ReplayCpuidSource : public CpuidSource {
 public:
  explicit ReplayCpuidSource(CpuidRecording recording);

  bool Available() override;
  CpuidRegisters Query(uint32_t leaf, uint32_t subLeaf) override;
  bool PinThread(uint32_t mask) override;
  void RestoreThread() override;

 private:
  CpuidRecording recording_;
  size_t current_ = 0;
};

}  // namespace velora
