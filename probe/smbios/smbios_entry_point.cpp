#include "probe/smbios/smbios_entry_point.h"

#include <cstdio>
#include <cstring>

namespace velora {

namespace {

constexpr size_t kWalkLimit = 0x10000;
constexpr size_t kDmiChecksummed = 15;
constexpr size_t kSm3MinimumLength = 0x18;

uint32_t Le16(const uint8_t* p) { return p[0] | p[1] << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }
uint64_t Le64(const uint8_t* p) { return Le32(p) | uint64_t{Le32(p + 4)} << 32; }

bool Has(const uint8_t* block, size_t size, size_t at, const char* anchor) {
  size_t n = std::strlen(anchor);
  return at + n <= size && std::memcmp(block + at, anchor, n) == 0;
}

bool ChecksumIsZero(const uint8_t* p, size_t n) {
  uint8_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + p[i]);
  return sum == 0;
}

std::string Version(unsigned major, unsigned minor) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u", major, minor);
  return text;
}

void ReadLegacy(const uint8_t* dmi, size_t available, SmbiosEntryPoint& entry) {
  entry.kind = SmbiosEntryPoint::Kind::Legacy;
  if (available < kDmiChecksummed) return;  // cut off by the block: not valid
  entry.tableLength = Le16(dmi + 6);
  entry.tableAddress = Le32(dmi + 8);
  entry.structureCount = Le16(dmi + 12);
  entry.valid = ChecksumIsZero(dmi, kDmiChecksummed);
}

void ReadVersion3(const uint8_t* sm3, size_t available, SmbiosEntryPoint& entry) {
  entry.kind = SmbiosEntryPoint::Kind::Version3;
  if (available < kSm3MinimumLength) return;
  size_t length = sm3[6];
  if (length < kSm3MinimumLength || length > available) return;
  entry.version = Version(sm3[7], sm3[8]);
  entry.tableLength = Le32(sm3 + 0x0C);
  entry.tableAddress = Le64(sm3 + 0x10);
  entry.valid = ChecksumIsZero(sm3, length);
}

}  // namespace

SmbiosEntryPoint FindSmbiosEntryPoint(const uint8_t* block, size_t size) {
  SmbiosEntryPoint entry;
  if (block == nullptr) return entry;
  size_t limit = size < kWalkLimit ? size : kWalkLimit;
  size_t version3 = SIZE_MAX;
  for (size_t at = 0; at < limit; at += 16) {
    if (Has(block, size, at, "_SM_") && at + 8 <= size) {
      entry.version = Version(block[at + 6], block[at + 7]);
    }
    if (Has(block, size, at, "_DMI_")) {
      ReadLegacy(block + at, size - at, entry);
      return entry;
    }
    if (version3 == SIZE_MAX && Has(block, size, at, "_SM3_")) version3 = at;
  }
  if (version3 != SIZE_MAX) ReadVersion3(block + version3, size - version3, entry);
  return entry;
}

}  // namespace velora
