#include "session/record_cpuid.h"

#include <algorithm>

namespace velora {

namespace {

enum class SubLeaves {
  kNone,
  kUntilCacheTypeZero,   // EAX bits 4:0 zero ends the list (4, 0x8000001D)
  kUntilLevelTypeZero,   // ECX bits 15:8 zero ends the list (0xB, 0x1F, 0x80000026)
  kUpToEaxOfFirst,       // EAX of sub-leaf 0 is the highest sub-leaf
  kNonZero,              // every sub-leaf that answers anything (0xD)
  kBitsOfEdx,            // sub-leaf n where bit n of EDX of sub-leaf 0 is set (0xF)
  kBitsOfEbx,            // the same with EBX (0x10)
  kBitsOfEax,            // the same with EAX (0x23)
  kUntilTypeZero,        // 0x12: 0 and 1, then EAX bits 3:0 zero ends the list
  kFirstFour,            // 0x80000020
  kFirstTwo,             // 0x1E
};

SubLeaves SubLeavesOf(uint32_t leaf) {
  switch (leaf) {
    case 0x4: case 0x8000001D: return SubLeaves::kUntilCacheTypeZero;
    case 0xB: case 0x1F: case 0x80000026: return SubLeaves::kUntilLevelTypeZero;
    case 0x7: case 0x14: case 0x17: case 0x18: case 0x1D: case 0x20: case 0x24:
      return SubLeaves::kUpToEaxOfFirst;
    case 0xD: return SubLeaves::kNonZero;
    case 0xF: return SubLeaves::kBitsOfEdx;
    case 0x10: return SubLeaves::kBitsOfEbx;
    case 0x23: return SubLeaves::kBitsOfEax;
    case 0x12: return SubLeaves::kUntilTypeZero;
    case 0x80000020: return SubLeaves::kFirstFour;
    case 0x1E: return SubLeaves::kFirstTwo;
    default: return SubLeaves::kNone;
  }
}

bool Zero(const CpuidRegisters& r) { return (r.eax | r.ebx | r.ecx | r.edx) == 0; }

void ReadLeaf(CpuidSource& cpuid, uint32_t leaf, CpuidLeaves& leaves) {
  const CpuidRegisters first = cpuid.Query(leaf, 0);
  leaves[{leaf, 0}] = first;
  auto bits = [&](uint32_t mask) {
    for (uint32_t sub = 1; sub < 32; ++sub)
      if ((mask >> sub & 1) != 0) leaves[{leaf, sub}] = cpuid.Query(leaf, sub);
  };
  switch (SubLeavesOf(leaf)) {
    case SubLeaves::kNone: return;
    case SubLeaves::kUntilCacheTypeZero:
    case SubLeaves::kUntilLevelTypeZero: {
      const bool cache = SubLeavesOf(leaf) == SubLeaves::kUntilCacheTypeZero;
      auto last = [&](const CpuidRegisters& r) {
        return cache ? (r.eax & 0x1F) == 0 : (r.ecx >> 8 & 0xFF) == 0;
      };
      if (last(first)) return;
      for (uint32_t sub = 1; sub < kMostSubLeaves; ++sub) {
        const CpuidRegisters r = cpuid.Query(leaf, sub);
        leaves[{leaf, sub}] = r;
        if (last(r)) return;
      }
      return;
    }
    case SubLeaves::kUpToEaxOfFirst: {
      const uint32_t highest = std::min(first.eax, kMostSubLeaves - 1);
      for (uint32_t sub = 1; sub <= highest; ++sub) leaves[{leaf, sub}] = cpuid.Query(leaf, sub);
      return;
    }
    case SubLeaves::kNonZero:
      for (uint32_t sub = 1; sub < kMostSubLeaves; ++sub) {
        const CpuidRegisters r = cpuid.Query(leaf, sub);
        if (!Zero(r)) leaves[{leaf, sub}] = r;
      }
      return;
    case SubLeaves::kBitsOfEdx: bits(first.edx); return;
    case SubLeaves::kBitsOfEbx: bits(first.ebx); return;
    case SubLeaves::kBitsOfEax: bits(first.eax); return;
    case SubLeaves::kUntilTypeZero:
      leaves[{leaf, 1}] = cpuid.Query(leaf, 1);
      for (uint32_t sub = 2; sub < kMostSubLeaves; ++sub) {
        const CpuidRegisters r = cpuid.Query(leaf, sub);
        leaves[{leaf, sub}] = r;
        if ((r.eax & 0xF) == 0) return;
      }
      return;
    case SubLeaves::kFirstFour:
      for (uint32_t sub = 1; sub < 4; ++sub) leaves[{leaf, sub}] = cpuid.Query(leaf, sub);
      return;
    case SubLeaves::kFirstTwo:
      leaves[{leaf, 1}] = cpuid.Query(leaf, 1);
      return;
  }
}

// base to the highest leaf base answers, at most kMostLeavesPerRange leaves.
void ReadRange(CpuidSource& cpuid, uint32_t base, CpuidLeaves& leaves) {
  const uint32_t highest = cpuid.Query(base, 0).eax;
  if (highest < base) {
    leaves[{base, 0}] = cpuid.Query(base, 0);
    return;
  }
  const uint32_t last = std::min(highest, base + kMostLeavesPerRange - 1);
  for (uint32_t leaf = base; leaf <= last; ++leaf) ReadLeaf(cpuid, leaf, leaves);
}

}  // namespace

CpuidLeaves ReadProcessorLeaves(CpuidSource& cpuid) {
  CpuidLeaves leaves;
  ReadRange(cpuid, 0, leaves);
  // The hypervisor's leaves exist when leaf 1 says one runs us, or when 0x40000000 names a
  // range of its own.
  const bool hypervisor = (cpuid.Query(1, 0).ecx >> 31 & 1) != 0;
  const uint32_t hypervisorTop = cpuid.Query(0x40000000, 0).eax;
  if (hypervisor || (hypervisorTop > 0x40000000 && hypervisorTop < 0x40000100))
    ReadRange(cpuid, 0x40000000, leaves);
  ReadRange(cpuid, 0x80000000, leaves);
  return leaves;
}

CpuidRecording ReadAllProcessors(CpuidSource& cpuid, ProcessorAffinity& affinity,
                                 std::vector<int>& skipped) {
  CpuidRecording recording;
  const std::vector<int> allowed = affinity.AllowedProcessors();
  for (const int processor : allowed) {
    if (recording.processors.size() == kMostRecordedProcessors) break;
    if (!affinity.RestrictCurrentThread({processor})) {
      skipped.push_back(processor);
      continue;
    }
    RecordedProcessor recorded;
    recorded.number = static_cast<uint32_t>(processor);
    recorded.leaves = ReadProcessorLeaves(cpuid);
    recording.processors.push_back(std::move(recorded));
  }
  if (!allowed.empty()) affinity.RestrictCurrentThread(allowed);
  recording.logicalProcessors = static_cast<int32_t>(recording.processors.size());
  return recording;
}

}  // namespace velora
