#include "session/record_privacy.h"

#include <algorithm>
#include <cstring>
#include <regex>

namespace velora {

namespace {

struct StringField {
  uint8_t type;
  uint8_t offset;  // of the string's number in the formatted part
};

// Serial numbers and asset tags: system 1, board 2, chassis 3, processor 4, memory device 17,
// battery 22, power supply 39.
constexpr StringField kIdentifyingStrings[] = {
    {1, 0x07},  {2, 0x07},  {2, 0x08},  {3, 0x07},  {3, 0x08},  {4, 0x20},
    {4, 0x21},  {17, 0x18}, {17, 0x19}, {22, 0x07}, {39, 0x08}, {39, 0x09},
};

// Blanks string number `number` of the structure whose strings start at `strings`.
void BlankString(std::vector<uint8_t>& table, size_t strings, size_t end, uint8_t number) {
  size_t at = strings;
  for (uint8_t n = 1; at < end && table[at] != 0; ++n) {
    const size_t stop = std::find(table.begin() + static_cast<long>(at),
                                  table.begin() + static_cast<long>(end), 0) - table.begin();
    if (n == number) {
      std::fill(table.begin() + static_cast<long>(at), table.begin() + static_cast<long>(stop),
                ' ');
      return;
    }
    at = stop + 1;
  }
}

}  // namespace

void BlankSmbiosSerials(std::vector<uint8_t>& table) {
  size_t at = 0;
  while (at + 4 <= table.size()) {
    const uint8_t type = table[at];
    const uint8_t length = table[at + 1];
    if (length < 4 || at + length > table.size()) return;
    // The strings end at the first double NUL after the formatted part.
    size_t end = at + length;
    while (end + 1 < table.size() && !(table[end] == 0 && table[end + 1] == 0)) ++end;
    if (end + 1 >= table.size()) end = table.size();
    for (const StringField& field : kIdentifyingStrings) {
      if (field.type == type && field.offset < length && table[at + field.offset] != 0)
        BlankString(table, at + length, end, table[at + field.offset]);
    }
    // An inactive structure keeps what it held under its former type, which is not known: all
    // its strings go.
    if (type == 126) std::replace_if(table.begin() + static_cast<long>(at + length),
                                     table.begin() + static_cast<long>(end),
                                     [](uint8_t b) { return b != 0; }, ' ');
    if (type == 1 && length >= 0x19) std::fill_n(table.begin() + static_cast<long>(at + 8), 16, 0);
    if (type == 127) return;  // end of table
    at = end + 2;
  }
}

void BlankIdentifySerials(IdentifyBlock& block) {
  std::fill(block.begin() + 20, block.begin() + 40, ' ');
  std::fill(block.begin() + 216, block.begin() + 224, 0);
  if (block[510] != 0xA5) return;
  uint8_t sum = 0;
  for (size_t i = 0; i < 511; ++i) sum = static_cast<uint8_t>(sum + block[i]);
  block[511] = static_cast<uint8_t>(-sum);
}

void BlankNvmeControllerSerial(NvmeIdentifyData& controller) {
  std::fill(controller.begin() + 4, controller.begin() + 24, ' ');
}

void BlankNvmeNamespaceIds(NvmeIdentifyData& nameSpace) {
  std::fill(nameSpace.begin() + 104, nameSpace.begin() + 128, 0);
}

void BlankProcessorSerial(CpuidLeaves& leaves) {
  const auto serial = leaves.find({3, 0});
  if (serial == leaves.end()) return;
  serial->second.ecx = 0;
  serial->second.edx = 0;
}

std::string MountTableWithoutSerials(const std::string& table) {
  // Mount points named by a file system's UUID (/run/media/USER/UUID), sources by a disk's
  // by-id or by-uuid name.
  static const std::regex kUuid("[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-"
                                "[0-9A-Fa-f]{12}");
  static const std::regex kDiskName("/dev/disk/by-(id|uuid|partuuid)/[^ \n]*");
  const std::string named = std::regex_replace(table, kDiskName, "/dev/disk/by-$1/-");
  return std::regex_replace(named, kUuid, "00000000-0000-0000-0000-000000000000");
}

std::string UdevEntryWithoutSerials(const std::string& entry) {
  static constexpr const char* kKept[] = {
      "E:ID_MODEL=",  "E:ID_MODEL_ENC=", "E:ID_MODEL_ID=", "E:ID_VENDOR=", "E:ID_VENDOR_ENC=",
      "E:ID_VENDOR_ID=", "E:ID_REVISION=", "E:ID_BUS=", "E:ID_TYPE=", "E:ID_CDROM="};
  std::string kept;
  size_t start = 0;
  while (start < entry.size()) {
    size_t end = entry.find('\n', start);
    if (end == std::string::npos) end = entry.size();
    const std::string line = entry.substr(start, end - start);
    for (const char* prefix : kKept) {
      if (line.rfind(prefix, 0) == 0) {
        kept += line + "\n";
        break;
      }
    }
    start = end + 1;
  }
  return kept;
}

}  // namespace velora
