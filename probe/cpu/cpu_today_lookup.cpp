#include "probe/cpu/cpu_today_lookup.h"

#include "probe/cpu/cpu_fields.h"
#include "probe/cpu/cpu_today_amd.h"
#include "probe/cpu/cpu_today_centaur.h"
#include "probe/cpu/cpu_today_intel.h"

namespace velora {

std::span<const TodayRow> TodayRowsFor(int32_t vendorCode) {
  switch (vendorCode) {
    case kVendorIntel: return kIntelRowsOfToday;
    case kVendorAmd: return kAmdRowsOfToday;
    case kVendorHygon: return kHygonRowsOfToday;
    case kVendorIdt:
    case kVendorZhaoxin: return kCentaurRowsOfToday;
    default: return {};
  }
}

const TodayRow* FindTodayRow(std::span<const TodayRow> rows, int32_t family, int32_t model,
                             int32_t stepping, std::string_view cleanedName) {
  for (const TodayRow& row : rows) {
    if (row.family != family || model < row.modelLow || model > row.modelHigh) continue;
    if (stepping < row.steppingLow || stepping > row.steppingHigh) continue;
    if (!row.nameHas.empty() && cleanedName.find(row.nameHas) == std::string_view::npos) continue;
    if (!row.nameEnds.empty() && !cleanedName.ends_with(row.nameEnds)) continue;
    return &row;
  }
  return nullptr;
}

}  // namespace velora
