#pragma once
// Finding a processor of today in its vendor's table.

#include <cstdint>
#include <span>
#include <string_view>

#include "probe/cpu/cpu_today_row.h"

namespace velora {

// The table of the vendor; empty for a vendor without one.
std::span<const TodayRow> TodayRowsFor(int32_t vendorCode);

// The first row whose signature range and name conditions hold, or null.
const TodayRow* FindTodayRow(std::span<const TodayRow> rows, int32_t family, int32_t model,
                             int32_t stepping, std::string_view cleanedName);

}  // namespace velora
