#pragma once
// The Set commands of the power-state block: new frequency and voltage codes written to every
// processor of the system in turn, through the driver link.

#include <cstdint>

#include "probe/cpu/cpu_fields.h"
#include "probe/probe_environment.h"

namespace velora {

// Most a command waits for an AMD processor to finish one transition before giving up on
// that processor.
inline constexpr uint32_t kTransitionWaitLimitMs = 100;

// Runs command id with value by the power-control type of f. Nothing is written unless the
// settings allow power control, the driver is open and the type supports the command; a
// refused write (kernel lockdown) ends the command. Refusals go to env.log.
void RunPowerCommand(ProbeEnvironment& env, CpuFields& f, uint32_t id, int32_t value);

}  // namespace velora
