#include "info/smbios_inventory.h"

#include <cstdio>

#include "info/inventory_rules.h"
#include "probe/smbios/smbios_entry_point.h"
#include "probe/smbios/smbios_table.h"

namespace velora {

namespace {

// One structure of the table: its formatted area and the string set after it.
struct Structure {
  const uint8_t* data = nullptr;
  uint8_t length = 0;
  const uint8_t* strings = nullptr;
  const uint8_t* end = nullptr;

  uint8_t Byte(size_t offset) const { return offset < length ? data[offset] : 0; }
  std::string Text(size_t offset) const {
    std::string text = SmbiosString(strings, end, Byte(offset));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }
};

// The first structure of a type; every read stays inside the table.
std::optional<Structure> FirstOfType(const std::vector<uint8_t>& table, uint8_t type) {
  const uint8_t* p = table.data();
  const uint8_t* const end = p + table.size();
  while (end - p >= 4) {
    const uint8_t length = p[1];
    if (length < 4 || end - p < length) return std::nullopt;
    const uint8_t* strings = p + length;
    const uint8_t* next = strings;
    // The string set ends with two NULs (just two when it is empty).
    while (end - next >= 2 && !(next[0] == 0 && next[1] == 0)) ++next;
    if (end - next < 2) return std::nullopt;
    if (p[0] == type) return Structure{p, length, strings, next + 1};
    if (p[0] == 127) return std::nullopt;
    p = next + 2;
  }
  return std::nullopt;
}

}  // namespace

std::optional<BiosObject> SmbiosInventorySources::Bios() {
  const auto s = FirstOfType(tables_.table, 0);
  if (!s) return std::nullopt;
  BiosObject bios;
  bios.manufacturer = s->Text(0x04);
  bios.caption = s->Text(0x05);
  bios.smbiosBiosVersion = bios.caption;
  bios.releaseDate = FirmwareDateToDateTime(s->Text(0x08));
  bios.version = bios.caption;
  // The kernel's bios_release: the system BIOS's major and minor release, where given.
  if (s->length >= 0x18 && !(s->Byte(0x14) == 0xFF && s->Byte(0x15) == 0xFF)) {
    bios.version = std::to_string(s->Byte(0x14)) + "." + std::to_string(s->Byte(0x15));
  }
  const SmbiosEntryPoint entry =
      FindSmbiosEntryPoint(tables_.entryPoint.data(), tables_.entryPoint.size());
  int major = 0, minor = 0;
  if (std::sscanf(entry.version.c_str(), "%d.%d", &major, &minor) == 2 && major > 0) {
    bios.smbiosMajor = major;
    bios.smbiosMinor = minor;
  }
  return bios;
}

std::optional<ComputerSystemObject> SmbiosInventorySources::ComputerSystem() {
  const auto s = FirstOfType(tables_.table, 1);
  if (!s) return std::nullopt;
  return ComputerSystemObject{s->Text(0x04), s->Text(0x05)};
}

std::optional<BaseBoardObject> SmbiosInventorySources::BaseBoard() {
  const auto s = FirstOfType(tables_.table, 2);
  if (!s) return std::nullopt;
  return BaseBoardObject{s->Text(0x04), s->Text(0x05), s->Text(0x06)};
}

}  // namespace velora
