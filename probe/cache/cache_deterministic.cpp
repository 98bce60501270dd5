#include "probe/cache/cache_deterministic.h"

#include "probe/cpu/cpu_format.h"

namespace velora {

std::vector<DeterministicCache> ReadDeterministicCaches(CpuidSource& cpuid, uint32_t leaf) {
  std::vector<DeterministicCache> caches;
  // A bound on the sub-leaves, in case a recording or a hypervisor never answers type 0.
  for (uint32_t sub = 0; sub < 16; ++sub) {
    CpuidRegisters r = cpuid.Query(leaf, sub);
    int type = static_cast<int>(r.eax & 0x1F);
    if (type == 0) break;
    DeterministicCache c;
    c.type = type;
    c.level = static_cast<int>((r.eax >> 5) & 7);
    c.coresMinusOne = static_cast<int32_t>(r.eax >> 26);
    uint64_t line = (r.ebx & 0xFFF) + 1;
    uint64_t partitions = ((r.ebx >> 12) & 0x3FF) + 1;
    uint64_t ways = ((r.ebx >> 22) & 0x3FF) + 1;
    uint64_t sets = static_cast<uint64_t>(r.ecx) + 1;
    c.ways = static_cast<int32_t>(ways);
    c.line = static_cast<int32_t>(line);
    c.sizeKb = static_cast<int32_t>(ways * partitions * line * sets / 1024);
    caches.push_back(c);
  }
  return caches;
}

bool ApplyDeterministicCaches(const std::vector<DeterministicCache>& caches, CpuFields& f) {
  bool any = false;
  for (const DeterministicCache& c : caches) {
    int32_t* size = nullptr;
    int waysIndex = 0;
    if (c.level == 1 && c.type == 2) {
      size = &f.l1Instruction;
      waysIndex = kL1InstructionWays;
    } else if (c.level == 1 && c.type == 1) {
      size = &f.l1Data;
      waysIndex = kL1DataWays;
    } else if (c.level == 2 && c.type != 2) {
      size = &f.l2;
      waysIndex = kL2Ways;
    } else if (c.level == 3 && c.type != 2) {
      size = &f.l3;
      waysIndex = kL3Ways;
    } else {
      continue;
    }
    *size = c.sizeKb;
    f.cacheDetail[waysIndex] = c.ways;
    f.cacheDetail[waysIndex + 1] = c.line;
    f.cacheDetailText[waysIndex] = FormatText("%d", c.ways);
    f.cacheDetailText[waysIndex + 1] = FormatText("%d", c.line);
    any = true;
  }
  return any;
}

}  // namespace velora
