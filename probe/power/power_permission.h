#pragma once
// Whether the user allowed the probe to write frequency and voltage codes: such writes can
// hang or damage a machine, so they wait for "AllowPowerControl" in section "Setting".

#include <string>

namespace velora {

// Read afresh at every command, so that a changed setting holds at once; no file, no value or
// 0: not allowed.
bool PowerControlAllowed(const std::string& settingsFile);

}  // namespace velora
