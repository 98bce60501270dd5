#pragma once
// One row of the naming tables for processors of today: a signature range with optional
// conditions on the cleaned brand name, and what the processor is.

#include <cstdint>
#include <string_view>

#include "probe/clock/multiplier_method.h"

namespace velora {

struct TodayRow {
  int32_t family;  // display family: family plus extended family
  int32_t modelLow, modelHigh;  // display model: extended model x 16 plus model
  int32_t steppingLow, steppingHigh;
  std::string_view nameHas;   // the cleaned name contains it; empty for any
  std::string_view nameEnds;  // the cleaned name ends with it; empty for any
  std::string_view codeName;  // Intel: the product code name; AMD: core, then die
  std::string_view platform;  // socket or package, empty where it varies
  std::string_view process;   // micrometres
  int32_t multiplierMethod;
};

// Short names for the table columns.
inline constexpr int32_t kNoRatio = 0;  // no register the clock step can decode
inline constexpr int32_t kIntelRatio = kMethodIntelRatioRegisters;
inline constexpr int32_t kAmdPState = kMethodAmdPStateRegisters;

}  // namespace velora
