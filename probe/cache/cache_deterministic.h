#pragma once
// The deterministic cache leaves: Intel leaf 4 and AMD leaf 0x8000001D share one layout, one
// sub-leaf per cache until a sub-leaf of type 0.

#include <cstdint>
#include <vector>

#include "platform/cpuid_source.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

struct DeterministicCache {
  int level = 0;
  int type = 0;  // 1 data, 2 instruction, 3 unified
  int32_t sizeKb = 0;
  int32_t ways = 0;
  int32_t line = 0;
  int32_t coresMinusOne = 0;  // EAX bits 26 to 31
};

std::vector<DeterministicCache> ReadDeterministicCaches(CpuidSource& cpuid, uint32_t leaf);

// Fills L1 instruction, L1 data, L2 and L3 with sizes, ways and lines (detail texts "%d") from
// the caches found; returns false when there were none.
bool ApplyDeterministicCaches(const std::vector<DeterministicCache>& caches, CpuFields& f);

}  // namespace velora
