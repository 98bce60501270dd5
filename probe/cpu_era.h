#pragma once
// Whether the classic naming, cache and topology rules describe a processor. Those rules cover
// processors up to about 2006; the later ones below get tables of their own.

#include "probe/cpu_fields.h"

namespace velora {

constexpr bool IsProcessorOfToday(const CpuFields& f) {
  switch (f.vendorCode) {
    case kVendorIntel:
      return (f.family == 6 && (f.extendedModel > 0 || f.model == 15)) ||
             (f.family == 15 && f.extendedFamily >= 3);
    case kVendorAmd:
      return f.family == 15 && f.extendedFamily > 0;
    default:
      return false;
  }
}

}  // namespace velora
