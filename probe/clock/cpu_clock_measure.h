#pragma once
// The core clock measured from the time-stamp counter against the system's timers.

#include <cstdint>
#include <string>

#include "platform/clock_source.h"

namespace velora {

struct ClockMeasureOptions {
  int32_t mode = 0;
  // Spin one second first so that a processor with dynamic clocking reaches full speed.
  bool warmUp = false;
  // Mode 0 of an object without a driver trusts only the multimedia timer.
  bool driverLess = false;
};

// The core clock in MHz (-1.0 when the timers give no usable figure; 0 for mode 9, which
// measures nothing). Sets methodText to "QPC", "MMT" or "WT" except where mode 0 runs
// without a driver, which leaves it as it is.
double MeasureCoreClock(ClockSource& clock, const ClockMeasureOptions& options,
                        std::string& methodText);

}  // namespace velora
