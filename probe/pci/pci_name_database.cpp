#include "probe/pci/pci_name_database.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "probe/pci/pci_database_line.h"

namespace velora {

namespace {

constexpr size_t kLineBuffer = 1024;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

using FileHandle = std::unique_ptr<FILE, FileCloser>;

ChipQuery Query(const PciChip& chip) {
  return {DeviceKey(chip.vendor, chip.device), RevisionKey(chip.revision)};
}

}  // namespace

void CutToCapacity(std::string& text, size_t capacity) {
  if (text.size() <= capacity) return;
  size_t n = capacity;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  text.resize(n);
}

PciNameDatabase::PciNameDatabase(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

std::string PciNameDatabase::Locate(std::string_view fileName) const {
  std::string path;
  FileHandle file(Open(fileName, path));
  return file ? path : std::string();
}

FILE* PciNameDatabase::Open(std::string_view fileName, std::string& path) const {
  if (programFolder_.empty()) return nullptr;
  const std::string name(fileName);
  for (std::string candidate :
       {programFolder_ + "/data/" + name, programFolder_ + "/" + name,
        programFolder_ + "/../share/velora09/data/" + name}) {
    if (FILE* file = std::fopen(candidate.c_str(), "r")) {
      path = std::move(candidate);
      return file;
    }
  }
  return nullptr;
}

bool PciNameDatabase::FirstMatch(std::string_view fileName,
                                 const std::function<bool(std::string_view)>& match) const {
  std::string path;
  FileHandle file(Open(fileName, path));
  if (!file) return false;
  // A line longer than the buffer is read as several lines, as a fixed buffer reads it.
  char line[kLineBuffer];
  while (std::fgets(line, sizeof line, file.get()) != nullptr) {
    std::string_view text(line, std::strlen(line));
    if (IsSkippedDatabaseLine(text)) continue;
    if (match(text)) return true;
  }
  return false;
}

bool PciNameDatabase::VendorName(uint32_t vendor, std::string& name) const {
  const std::string key = VendorKey(vendor);
  return FirstMatch(kVendorDatabase,
                    [&](std::string_view line) { return MatchVendorLine(line, key, name); });
}

bool PciNameDatabase::DeviceName(uint32_t vendor, uint32_t device, std::string& name) const {
  const std::string key = DeviceKey(vendor, device);
  return FirstMatch(kDeviceDatabase,
                    [&](std::string_view line) { return MatchDeviceLine(line, key, name); });
}

bool PciNameDatabase::ClassName(uint32_t classCode, std::string& name) const {
  const std::string key = ClassKey(classCode);
  return FirstMatch(kClassDatabase,
                    [&](std::string_view line) { return MatchClassLine(line, key, name); });
}

bool PciNameDatabase::ChipName(const char* fileName, const PciChip& chip,
                               std::string& name) const {
  const ChipQuery query = Query(chip);
  return FirstMatch(fileName,
                    [&](std::string_view line) { return MatchChipLine(line, query, name); });
}

bool PciNameDatabase::ChipsetName(const PciChip& north, const PciChip& south,
                                  std::string& name) const {
  const ChipQuery n = Query(north), s = Query(south);
  return FirstMatch(kChipsetDatabase, [&](std::string_view line) {
    return MatchChipsetLine(line, n, s, name);
  });
}

}  // namespace velora
