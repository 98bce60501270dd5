#include "probe/clock/cpu_clock_wait_time.h"

#include <climits>

#include "platform/ini_file.h"

namespace velora {

int32_t ReadWaitTimeMs(const std::string& settingsFile) {
  if (settingsFile.empty()) return kDefaultWaitTimeMs;
  int value = AtoiLike(ReadIniString(settingsFile, "Setting", "CqDualWaitTime", "1000"));
  // The absolute value of the most negative int does not exist; take the largest wait.
  if (value == INT_MIN) return INT_MAX;
  return value < 0 ? -value : value;
}

}  // namespace velora
