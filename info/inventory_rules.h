#pragma once
// The forms in which the inventory collector stores what it found: dates, disk rows, video
// memory and the driver version. Pure functions, so each rule is tested on its own.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velora {

// "YYYYMMDD..." (at least eight characters) as "YYYY/MM/DD"; nullopt for a shorter text.
std::optional<std::string> DateTimeToDayText(const std::string& dateTime);

// The BIOS date field: " " + the day text, every "190" then read as "200"; nullopt when the
// text is short or does not read as a positive integer.
std::optional<std::string> BiosDateField(const std::string& dateTime);

// "MM/DD/YYYY" (the firmware's form in sysfs) as "YYYYMMDD"; "" when it is not that form.
std::string FirmwareDateToDateTime(const std::string& firmwareDate);

// Drops trailing blanks, tabs and line ends (firmware pads its strings).
std::string TrimRight(std::string text);

struct DiskObject {
  std::string caption;
  std::string interfaceType;
  std::string size;  // bytes, as text
};

struct InventoryDiskRow {
  std::string model;
  std::string interfaceType;
  std::string sizeGb;  // decimal gigabytes truncated to one decimal
};

// The row a disk object adds, or nullopt when it is skipped: zero size, a model already
// identified (spaces ignored), doubled backslashes, or an IDE disk while startFlags is 0.
std::optional<InventoryDiskRow> DiskRowFor(const DiskObject& disk,
                                           const std::vector<std::string>& identifiedModels,
                                           uint32_t startFlags);

// Megabytes of a memory size in bytes, as "%d".
std::string VideoMemoryText(uint64_t bytes);

struct DriverVersionChoice {
  std::string text;
  bool fromFile = false;  // false: the fallback text
};

// The file's version when it reads as 0.01 or more, else the fallback; nullopt when neither
// is there.
std::optional<DriverVersionChoice> ChooseDriverVersion(const std::string& fileVersion,
                                                       const std::string& fallback);

}  // namespace velora
