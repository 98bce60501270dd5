#include "probe/smbios/smbios_table.h"

#include <cstdio>

namespace velora {

namespace {

constexpr size_t kHeaderLength = 4;
constexpr uint8_t kEndOfTable = 127;

struct Structure {
  const uint8_t* start;
  uint8_t length;          // of the formatted part
  const uint8_t* strings;  // string set, up to its double zero
  const uint8_t* stringsEnd;

  // A field is read only when the formatted part holds it; shorter structures of older
  // versions leave it empty.
  bool HasByte(size_t offset) const { return offset < length; }
  bool HasWord(size_t offset) const { return offset + 2 <= length; }
  uint32_t Word(size_t offset) const { return start[offset] | start[offset + 1] << 8; }
  std::string String(size_t offset) const {
    return HasByte(offset) ? SmbiosString(strings, stringsEnd, start[offset]) : std::string();
  }
  std::string Number(size_t offset) const {
    return HasWord(offset) ? std::to_string(Word(offset)) : std::string();
  }
};

void DecodeBios(const Structure& s, SmbiosTexts& t) {
  t[kBiosVendor] = s.String(4);
  t[kBiosVersion] = s.String(5);
  t[kBiosReleaseDate] = s.String(8);
  t[kBiosRomSize] = s.HasByte(9) ? std::to_string((s.start[9] + 1) * 64) : std::string();
}

void DecodeBoard(const Structure& s, SmbiosTexts& t) {
  t[kBoardManufacturer] = s.String(4);
  t[kBoardProduct] = s.String(5);
  t[kBoardVersion] = s.String(6);
}

void DecodeProcessor(const Structure& s, SmbiosTexts& t) {
  t[kProcessorSocket] = s.String(4);
  t[kProcessorManufacturer] = s.String(7);
  t[kProcessorVersion] = s.String(0x10);
  t[kProcessorExternalClock] = s.Number(0x12);
  t[kProcessorMaximumSpeed] = s.Number(0x14);
  t[kProcessorCurrentSpeed] = s.Number(0x16);
}

}  // namespace

std::string SmbiosString(const uint8_t* strings, const uint8_t* end, uint8_t n) {
  if (n == 0) return {};
  const uint8_t* p = strings;
  for (uint8_t number = 1; p < end && *p != 0; ++number) {
    const uint8_t* q = p;
    while (q < end && *q != 0) ++q;
    if (number == n) {
      std::string text(reinterpret_cast<const char*>(p), static_cast<size_t>(q - p));
      for (char& c : text) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F) c = '.';
      }
      if (text.size() > kSmbiosTextCapacity) text.resize(kSmbiosTextCapacity);
      return text;
    }
    p = q + 1;
  }
  return {};
}

uint32_t DecodeSmbiosTable(const uint8_t* table, size_t size, SmbiosWalkLimits limits,
                           SmbiosTexts& texts) {
  if (table == nullptr) return 0;
  const uint8_t* const end = table + size;
  const uint8_t* p = table;
  uint32_t walked = 0;
  while (limits.structures == 0 || walked < limits.structures) {
    if (static_cast<size_t>(end - p) < kHeaderLength) break;
    Structure s{p, p[1], nullptr, nullptr};
    // A formatted part shorter than its header, or longer than what is left, is malformed.
    if (s.length < kHeaderLength || s.length > static_cast<size_t>(end - p)) break;
    const uint8_t* z = p + s.length;
    while (z + 1 < end && !(z[0] == 0 && z[1] == 0)) ++z;
    if (z + 1 >= end) break;  // the string set runs past the table
    s.strings = p + s.length;
    s.stringsEnd = z;
    ++walked;
    switch (p[0]) {
      case 0: DecodeBios(s, texts); break;
      case 2: DecodeBoard(s, texts); break;
      case 4: DecodeProcessor(s, texts); break;
      default: break;
    }
    if (limits.stopAtEndOfTable && p[0] == kEndOfTable) break;
    p = z + 2;
  }
  return walked;
}

}  // namespace velora
