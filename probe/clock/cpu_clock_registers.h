#pragma once
// Which clock registers a processor has, read through the driver, and everything derived
// from them: L2 speed ratio, multipliers, bus clocks, rated clock, overclock percentage.

#include "platform/driver_link.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// Reads the first and second clock registers (and the platform identifier and microcode
// signature of the Intel parts that have them), then derives. The measured core clock is
// left as it is. A read that fails leaves the register 0 and the figures unknown.
void ReadClockRegisters(DriverLink& driver, CpuFields& f);

// The overclock percentage, when a rated clock is known; unknown (-100) without a measured
// clock.
void ApplyOverclockPercent(CpuFields& f);

}  // namespace velora
