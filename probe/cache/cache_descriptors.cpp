#include "probe/cache/cache_descriptors.h"

#include "probe/cpu/cpu_format.h"

namespace velora {

namespace {

void SetCache(int32_t& size, int waysIndex, int lineIndex, int32_t sizeKb,
              const CacheDescriptorRow& row, CpuFields& f) {
  size = sizeKb;
  if (row.ways != kKeep) f.cacheDetail[waysIndex] = row.ways;
  if (row.line != kKeep) f.cacheDetail[lineIndex] = row.line;
}

}  // namespace

bool ApplyCacheDescriptor(uint8_t code, CpuFields& f) {
  for (const CacheDescriptorRow& row : kIntelCacheDescriptors) {
    for (uint8_t i = 0; i < row.count; ++i) {
      if (row.codes[i] != code) continue;
      int32_t size = row.sizesKb[i];
      switch (row.kind) {
        case K::L1Instruction:
          SetCache(f.l1Instruction, kL1InstructionWays, kL1InstructionLine, size, row, f);
          break;
        case K::L1Data: SetCache(f.l1Data, kL1DataWays, kL1DataLine, size, row, f); break;
        case K::L2: SetCache(f.l2, kL2Ways, kL2Line, size, row, f); break;
        case K::L3: SetCache(f.l3, kL3Ways, kL3Line, size, row, f); break;
        case K::TraceCache:
          f.traceCache = size;
          f.cacheDetail[kL1InstructionWays] = row.ways;
          break;
        case K::NoL2OrL3:
          if (f.family == 6) {
            f.l2 = 0;
          } else {
            f.l3 = 0;
          }
          break;
      }
      return true;
    }
  }
  return false;
}

bool DecodeIntelCacheDescriptors(const uint32_t registers[4], CpuFields& f) {
  bool deterministic = false;
  for (int r = 0; r < 4; ++r) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      auto code = static_cast<uint8_t>(registers[r] >> shift);
      if (code == 0xFF) deterministic = true;
      ApplyCacheDescriptor(code, f);
    }
  }
  for (int i = 0; i < kCacheDetailCount; ++i) f.cacheDetailText[i] = FormatText("%d", f.cacheDetail[i]);
  return deterministic;
}

}  // namespace velora
