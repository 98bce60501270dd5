#pragma once
// CPUID replayed from recorded registers: a map of (leaf, sub-leaf) to registers, filled by
// hand or from a dump file. Leaves that were not recorded answer zeros, as a processor does
// above its highest leaf.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/cpuid_source.h"

namespace velora {

class FakeCpuidSource : public CpuidSource {
 public:
  bool available = true;
  std::map<std::pair<uint32_t, uint32_t>, CpuidRegisters> leaves;
  // From the dump's "# logical-processors:" line; 0 when it has none.
  int32_t logicalProcessors = 0;

  // Registers that differ on one logical processor, by the single-processor mask pinned when
  // they are asked: the topology leaves of a live machine, read processor by processor.
  std::map<uint32_t, std::map<std::pair<uint32_t, uint32_t>, CpuidRegisters>> perProcessor;

  int queries = 0;
  std::vector<uint32_t> pinnedMasks;
  int restores = 0;
  bool pinned = false;

  void Set(uint32_t leaf, uint32_t subLeaf, CpuidRegisters registers) {
    leaves[{leaf, subLeaf}] = registers;
  }
  // Stores the 48 bytes of a brand string (NUL padded) in leaves 0x80000002 to 0x80000004.
  void SetBrandString(const std::string& brand);

  // Loads "LEAF SUB EAX EBX ECX EDX" lines (hexadecimal; '#' starts a comment). Returns the
  // number of leaves loaded, or -1 when the file cannot be read or a line is malformed.
  int LoadDump(const std::string& path);

  bool Available() override { return available; }
  CpuidRegisters Query(uint32_t leaf, uint32_t subLeaf) override;
  bool PinThread(uint32_t mask) override {
    pinnedMasks.push_back(mask);
    pinned = true;
    return true;
  }
  void RestoreThread() override {
    ++restores;
    pinned = false;
  }
};

}  // namespace velora
