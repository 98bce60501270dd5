#include "probe/power/power_permission.h"

#include "platform/ini_file.h"

namespace velora {

bool PowerControlAllowed(const std::string& settingsFile) {
  if (settingsFile.empty()) return false;
  return AtoiLike(ReadIniString(settingsFile, "Setting", "AllowPowerControl", "0")) != 0;
}

}  // namespace velora
