#pragma once
// The program's settings file: every key the program and the probe library use, with its
// default, and the accessors the rest of the program calls.

#include <array>
#include <string>

namespace velora {

constexpr const char* kSettingSection = "Setting";
constexpr const char* kInfoSection = "Info";

struct SettingKey {
  const char* section;
  const char* key;
  const char* fallback;
};

// One row per key; a missing file or key means the default.
constexpr std::array<SettingKey, 27> kSettingKeys{{
    {"Setting", "Language", "jp"},
    {"Setting", "BackgroundImage", ""},
    {"Setting", "TextColor", ""},
    {"Setting", "EnableAlpha", "0"},
    {"Setting", "Alpha", "255"},
    {"Setting", "SafeMode", "0"},
    {"Setting", "PC-98Mode", "0"},
    {"Setting", "DisableWMI", "0"},
    {"Setting", "DisableWMI_DISK", "0"},
    {"Setting", "DisableWMI_BIOS", "0"},
    {"Setting", "DisableWMI_SYSTEM", "0"},
    {"Setting", "DisableWMI_MOTHER", "0"},
    {"Setting", "DisableWMI_OS", "0"},
    {"Setting", "DisableWMI_IDE", "0"},
    {"Setting", "DisableWMI_VIDEO", "0"},
    {"Setting", "CqDualWaitTime", "1000"},
    {"Setting", "RankingServer", ""},
    {"Setting", "AllowPowerControl", "0"},
    {"Info", "UserName", ""},
    {"Info", "MachineName", ""},
    {"Info", "Area", ""},
    {"Info", "Country", ""},
    {"Info", "Mail", ""},
    {"Info", "Web", ""},
    {"Info", "MotherBoard", ""},
    {"Info", "Memory", ""},
    {"Info", "Password", ""},
}};

// The default of a key of the table, or "" for a key outside it.
std::string SettingDefault(const std::string& section, const std::string& key);

// Values of section "Setting" fit 255 characters, those of section "Info" 4095.
constexpr size_t kSettingValueCapacity = 256;
constexpr size_t kInfoValueCapacity = 4096;

class Settings {
 public:
  explicit Settings(std::string path) : path_(std::move(path)) {}
  // Reads the file and never writes it: a window beside the running one leaves its file alone.
  static Settings ReadOnly(std::string path) {
    Settings settings(std::move(path));
    settings.readOnly_ = true;
    return settings;
  }

  const std::string& path() const { return path_; }

  // The stored value, or the key's default from the table.
  std::string Read(const std::string& section, const std::string& key) const;
  std::string ReadSetting(const std::string& key) const { return Read(kSettingSection, key); }
  // Section "Setting" with default "0", converted like atoi.
  int ReadInt(const std::string& key) const;
  // Failed writes are ignored by the callers; the result says whether it happened (never on
  // read-only settings).
  bool Write(const std::string& section, const std::string& key, const std::string& value) const;
  bool WriteSetting(const std::string& key, const std::string& value) const {
    return Write(kSettingSection, key, value);
  }

 private:
  std::string path_;
  bool readOnly_ = false;
};

// The settings of the running program (settingsPath()).
Settings ProgramSettings();

// ProgramSettings().ReadInt(key).
int readSettingInt(const std::string& key);

}  // namespace velora
