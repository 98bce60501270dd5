#pragma once
// Multipliers, bus clocks and the rated clock from the clock registers already read.

#include "platform/driver_link.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// The multiplier step a method of its own writes: current and original multiplier and the
// nominal bus index. It starts from the values as they stand.
struct MultiplierResult {
  double current = -1.0;
  double original = -1.0;
  int32_t busIndex = -1;
};

// Decodes the registers by MultiplierMethod, then computes the bus clocks and the rated
// clock. Methods 7 and 8 read register 0x198 through the driver.
void DeriveClocks(CpuFields& f, DriverLink& driver);

// The Intel rows (methods 1 to 8), the AMD rows (10 to 14) and the Cyrix/IDT rows (20 to 24
// and the IDT parts without a method).
void DeriveIntelMultipliers(const CpuFields& f, DriverLink& driver, MultiplierResult& r);
void DeriveAmdMultipliers(CpuFields& f, MultiplierResult& r);
void DeriveCyrixIdtMultipliers(const CpuFields& f, MultiplierResult& r);

}  // namespace velora
