#pragma once
// Reading the power-state block: the current, start and maximum frequency and voltage codes of
// the processor's power-control registers, and their texts.

#include "platform/driver_link.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// By the power-control type; a type without registers changes nothing. Writes no register.
// The caller runs it on the processor identified.
void RefreshPowerState(DriverLink& driver, CpuFields& f);

}  // namespace velora
