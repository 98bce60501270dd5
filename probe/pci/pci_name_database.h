#pragma once
// The PCI name databases (vendor.pci, pci.db, class.pci, chip.pci, video.pci, chipset.pci).
// Every look-up opens its file afresh and reads from the top to the first matching line;
// nothing is cached.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace velora {

// The file names, as the data folder holds them.
constexpr const char* kVendorDatabase = "vendor.pci";
constexpr const char* kDeviceDatabase = "pci.db";
constexpr const char* kClassDatabase = "class.pci";
constexpr const char* kChipDatabase = "chip.pci";
constexpr const char* kVideoDatabase = "video.pci";
constexpr const char* kChipsetDatabase = "chipset.pci";

struct PciChip {
  uint32_t vendor = 0;
  uint32_t device = 0;
  uint32_t revision = 0;
};

// Cuts a name to a field's capacity in bytes without splitting a UTF-8 character.
void CutToCapacity(std::string& text, size_t capacity);

class PciNameDatabase {
 public:
  // Files are looked up in programFolder/data, then programFolder, then
  // programFolder/../share/velora09/data (the installed layout).
  explicit PciNameDatabase(std::string programFolder);

  // The path a look-up of this file opens, empty when it is in none of the places.
  std::string Locate(std::string_view fileName) const;

  // Each answers whether a line matched; name is left alone when none did.
  bool VendorName(uint32_t vendor, std::string& name) const;
  bool DeviceName(uint32_t vendor, uint32_t device, std::string& name) const;
  bool ClassName(uint32_t classCode, std::string& name) const;
  // chip.pci or video.pci.
  bool ChipName(const char* fileName, const PciChip& chip, std::string& name) const;
  bool ChipsetName(const PciChip& north, const PciChip& south, std::string& name) const;

 private:
  // The first of the three places that opens, with its path; null when none does.
  FILE* Open(std::string_view fileName, std::string& path) const;
  // Calls match for every line that is not skipped until it answers true.
  bool FirstMatch(std::string_view fileName,
                  const std::function<bool(std::string_view)>& match) const;

  std::string programFolder_;
};

}  // namespace velora
