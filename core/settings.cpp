#include "core/settings.h"

#include <cstring>

#include "platform/app_paths.h"
#include "platform/ini_file.h"

namespace velora {

std::string SettingDefault(const std::string& section, const std::string& key) {
  for (const SettingKey& row : kSettingKeys) {
    if (section == row.section && key == row.key) return row.fallback;
  }
  return {};
}

std::string Settings::Read(const std::string& section, const std::string& key) const {
  size_t capacity = section == kInfoSection ? kInfoValueCapacity : kSettingValueCapacity;
  return ReadIniString(path_, section, key, SettingDefault(section, key), capacity);
}

int Settings::ReadInt(const std::string& key) const {
  return AtoiLike(ReadIniString(path_, kSettingSection, key, "0", kSettingValueCapacity));
}

bool Settings::Write(const std::string& section, const std::string& key,
                     const std::string& value) const {
  if (readOnly_) return false;
  return WriteIniString(path_, section, key, value);
}

Settings ProgramSettings() { return Settings(settingsPath()); }

int readSettingInt(const std::string& key) { return ProgramSettings().ReadInt(key); }

}  // namespace velora
