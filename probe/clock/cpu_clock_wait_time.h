#pragma once
// The wait between processors that the power-state commands keep, from the host program's
// settings file.

#include <cstdint>
#include <string>

namespace velora {

inline constexpr int32_t kDefaultWaitTimeMs = 1000;

// The absolute value of CqDualWaitTime in section Setting; 1000 when the file or key is
// missing, and also when settingsFile is empty.
int32_t ReadWaitTimeMs(const std::string& settingsFile);

}  // namespace velora
