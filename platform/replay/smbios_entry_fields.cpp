#include "platform/replay/smbios_entry_fields.h"

#include <cstring>

namespace velora::recorded {

namespace {

constexpr size_t kDmiLength = 15;
constexpr size_t kSmDmiPart = 0x10;

bool Has(const std::vector<uint8_t>& bytes, size_t at, const char* anchor) {
  const size_t n = std::strlen(anchor);
  return bytes.size() >= at + n && std::memcmp(bytes.data() + at, anchor, n) == 0;
}

uint64_t Le(const std::vector<uint8_t>& bytes, size_t at, size_t size) {
  uint64_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | bytes[at + i];
  return value;
}

void PutLe(std::vector<uint8_t>& bytes, size_t at, size_t size, uint64_t value) {
  for (size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Mend(std::vector<uint8_t>& bytes, size_t from, size_t length, size_t checksumAt) {
  bytes[checksumAt] = 0;
  uint8_t sum = 0;
  for (size_t i = from; i < from + length; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  bytes[checksumAt] = static_cast<uint8_t>(-sum);
}

}  // namespace

SmbiosAnchor EntryAnchor(const std::vector<uint8_t>& entry) {
  // Some SMBIOS 2.1 firmware gives 0x1E for the 0x1F bytes of "_SM_"; some pad to 0x20.
  if (Has(entry, 0, "_SM_") && entry.size() >= 0x1F && entry[5] >= 0x1E && entry[5] <= 0x20 &&
      entry[5] <= entry.size() && Has(entry, kSmDmiPart, "_DMI_")) {
    return SmbiosAnchor::kSm;
  }
  if (Has(entry, 0, "_SM3_") && entry.size() >= 0x18 && entry[6] >= 0x18 && entry[6] <= 0x20 &&
      entry[6] <= entry.size()) {
    return SmbiosAnchor::kSm3;
  }
  if (Has(entry, 0, "_DMI_") && entry.size() >= kDmiLength) return SmbiosAnchor::kDmi;
  return SmbiosAnchor::kNone;
}

uint64_t EntryTableAddress(const std::vector<uint8_t>& entry) {
  switch (EntryAnchor(entry)) {
    case SmbiosAnchor::kSm: return Le(entry, kSmDmiPart + 8, 4);
    case SmbiosAnchor::kSm3: return Le(entry, 0x10, 8);
    case SmbiosAnchor::kDmi: return Le(entry, 8, 4);
    case SmbiosAnchor::kNone: break;
  }
  return 0;
}

uint64_t EntryTableLength(const std::vector<uint8_t>& entry) {
  switch (EntryAnchor(entry)) {
    case SmbiosAnchor::kSm: return Le(entry, kSmDmiPart + 6, 2);
    case SmbiosAnchor::kSm3: return Le(entry, 0x0C, 4);
    case SmbiosAnchor::kDmi: return Le(entry, 6, 2);
    case SmbiosAnchor::kNone: break;
  }
  return 0;
}

void SetEntryTableAddress(std::vector<uint8_t>& entry, uint64_t address) {
  switch (EntryAnchor(entry)) {
    case SmbiosAnchor::kSm:
      PutLe(entry, kSmDmiPart + 8, 4, address);
      Mend(entry, kSmDmiPart, kDmiLength, kSmDmiPart + 5);
      Mend(entry, 0, entry[5], 4);
      break;
    case SmbiosAnchor::kSm3:
      PutLe(entry, 0x10, 8, address);
      Mend(entry, 0, entry[6], 5);
      break;
    case SmbiosAnchor::kDmi:
      PutLe(entry, 8, 4, address);
      Mend(entry, 0, kDmiLength, 5);
      break;
    case SmbiosAnchor::kNone: break;
  }
}

std::vector<uint8_t> MadeUpEntryPoint(uint64_t tableAddress, size_t tableLength) {
  std::vector<uint8_t> entry(0x18, 0);
  std::memcpy(entry.data(), "_SM3_", 5);
  entry[6] = 0x18;  // length
  entry[7] = 3;     // version 3.0: nothing in a bare table says which
  entry[0x0A] = 1;  // entry point revision
  PutLe(entry, 0x0C, 4, tableLength);
  SetEntryTableAddress(entry, tableAddress);
  return entry;
}

}  // namespace velora::recorded
