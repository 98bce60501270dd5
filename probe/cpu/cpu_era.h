#pragma once
// Whether the classic naming, cache and topology rules describe a processor. Those rules cover
// processors up to about 2006; the later ones below get tables of their own.

#include <cstdint>

#include "probe/cpu/cpu_fields.h"

namespace velora {

constexpr bool IsProcessorOfToday(const CpuFields& f) {
  switch (f.vendorCode) {
    case kVendorIntel:
      // Extended families 1 and 2 of family 15 are Itanium 2 in the classic rules.
      return (f.family == 6 && (f.extendedModel > 0 || f.model == 15)) ||
             (f.family == 15 && f.extendedFamily >= 3);
    case kVendorAmd:
      // Family 15 with extended family 0 is the K8 throughout, revisions F and G included:
      // their clock registers and core counts are the classic ones, and the AMD table names
      // them from their brand string.
      return f.family == 15 && f.extendedFamily > 0;
    case kVendorHygon:
    case kVendorZhaoxin:
      return true;
    case kVendorIdt:
      // Centaur's C7 (family 6 models 10 and 13) is still classic; Nano (model 15) and
      // the Zhaoxin parts that report Centaur's vendor string (family 7) are not.
      return (f.family == 6 && (f.extendedModel > 0 || f.model == 15)) || f.family >= 7;
    default:
      return false;
  }
}

// The family and model as the vendors print them, from the leaf 1 signature: the extended
// family adds to family 15, the extended model is the high digit from family 6 on. For
// Centaur the extended signature of leaf 0x80000001 is zero, so only leaf 1 tells the model.
constexpr int32_t DisplayFamily(uint32_t leaf1Eax) {
  uint32_t family = (leaf1Eax >> 8) & 0xF;
  return static_cast<int32_t>(family == 15 ? family + ((leaf1Eax >> 20) & 0xFF) : family);
}

constexpr int32_t DisplayModel(uint32_t leaf1Eax) {
  uint32_t family = (leaf1Eax >> 8) & 0xF;
  uint32_t model = (leaf1Eax >> 4) & 0xF;
  return static_cast<int32_t>(family >= 6 ? (((leaf1Eax >> 16) & 0xF) << 4) + model : model);
}

}  // namespace velora
