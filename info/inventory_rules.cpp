#include "info/inventory_rules.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "core/file_version.h"

namespace velora {

namespace {

std::string WithoutSpaces(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> DateTimeToDayText(const std::string& dateTime) {
  if (dateTime.size() < 8) return std::nullopt;
  return dateTime.substr(0, 4) + "/" + dateTime.substr(4, 2) + "/" + dateTime.substr(6, 2);
}

std::optional<std::string> BiosDateField(const std::string& dateTime) {
  auto day = DateTimeToDayText(dateTime);
  // Read like atoi: the leading digits must make a positive number.
  if (!day || std::atoll(dateTime.c_str()) <= 0) return std::nullopt;
  std::string field = " " + *day;
  ReplaceAll(field, "190", "200");
  return field;
}

std::string FirmwareDateToDateTime(const std::string& firmwareDate) {
  const std::string d = TrimRight(firmwareDate);
  if (d.size() != 10 || d[2] != '/' || d[5] != '/') return {};
  const std::string month = d.substr(0, 2), day = d.substr(3, 2), year = d.substr(6, 4);
  if (!AllDigits(month) || !AllDigits(day) || !AllDigits(year)) return {};
  return year + month + day;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                           text.back() == '\r' || text.back() == '\0')) {
    text.pop_back();
  }
  return text;
}

std::optional<InventoryDiskRow> DiskRowFor(const DiskObject& disk,
                                           const std::vector<std::string>& identifiedModels,
                                           uint32_t startFlags) {
  const std::string caption = WithoutSpaces(disk.caption);
  for (const std::string& model : identifiedModels) {
    if (WithoutSpaces(model) == caption) return std::nullopt;
  }
  const unsigned long long bytes = std::strtoull(disk.size.c_str(), nullptr, 10);
  if (bytes == 0) return std::nullopt;
  std::string interfaceType = disk.interfaceType.size() > 4 ? std::string() : disk.interfaceType;
  if (disk.caption.find("\\\\") != std::string::npos ||
      interfaceType.find("\\\\") != std::string::npos) {
    return std::nullopt;
  }
  if (interfaceType.find("IDE") != std::string::npos && startFlags == 0) return std::nullopt;

  InventoryDiskRow row;
  row.model = disk.caption;
  // The text names the Windows driver stack, not the disk; its blank goes with it.
  ReplaceAll(row.model, " SCSI Disk Device", "");
  ReplaceAll(row.model, "SCSI Disk Device", "");
  row.interfaceType = interfaceType;
  char size[64];
  std::snprintf(size, sizeof size, "%0.1f", static_cast<double>(bytes / 1000 / 1000 / 100) * 0.1);
  row.sizeGb = size;
  return row;
}

std::string VideoMemoryText(uint64_t bytes) {
  return std::to_string(static_cast<int>(bytes >> 20));
}

std::optional<DriverVersionChoice> ChooseDriverVersion(const std::string& fileVersion,
                                                       const std::string& fallback) {
  if (!fileVersion.empty() && VersionNumberOf(fileVersion) >= 1) {
    return DriverVersionChoice{fileVersion, true};
  }
  if (!fallback.empty()) return DriverVersionChoice{fallback, false};
  return std::nullopt;
}

}  // namespace velora
