#pragma once
// Clock registers of today's processors (methods 30 and 31), and the rated clock from the
// brand string where the registers cannot be read.

#include <cstdint>
#include <string_view>

#include "platform/driver_link.h"
#include "probe/clock/cpu_clock_amd_pstate.h"
#include "probe/clock/cpu_clock_derive.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

bool IsMethodOfToday(int32_t method);

// Intel: first = platform info 0xCE, second = performance status 0x198. AMD: first = the
// definition of P0 as software counts it, the first one after the boosted states; second =
// the current P-state's definition (family 0x17 on) or the current FID/DID status
// 0xC0010071 (families 0x10 to 0x16). Llano also reads its CpuFid offset and Bobcat its
// main PLL from the northbridge. A failed read leaves 0, and so does a boost count that
// cannot be read.
void ReadClockRegistersOfToday(DriverLink& driver, CpuFields& f);

void DeriveMultipliersOfToday(const CpuFields& f, MultiplierResult& r);

// The time-stamp counter of these processors runs at the base clock whatever the current
// P-state, so the bus it measures is core clock / original multiplier.
double MeasuredBusClockOfToday(const CpuFields& f);

// The clock written in the brand string ("@ 3.60GHz", "2.67GHz", "1000MHz") in MHz; a
// gigahertz figure ending in 3, 6 or 7 hundredths is a third of a 133 or 166 MHz bus step
// and gives its exact value (2.67 gives 2666.67). -1 when there is none.
double BrandClockOfToday(std::string_view brand);

// For a processor of today whose registers gave no rated clock: the brand string's.
void ApplyRatedClockOfToday(CpuFields& f);

}  // namespace velora
