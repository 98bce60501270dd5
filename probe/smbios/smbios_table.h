#pragma once
// Decoding the SMBIOS structure table: BIOS (type 0), base board (type 2) and processor
// (type 4) facts. Every read stays inside the table; a structure or string set that runs
// past it ends the walk.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velora {

enum SmbiosText : size_t {
  kBiosVendor,
  kBiosVersion,
  kBiosReleaseDate,
  kBiosRomSize,
  kBoardManufacturer,
  kBoardProduct,
  kBoardVersion,
  kProcessorSocket,
  kProcessorManufacturer,
  kProcessorVersion,
  kProcessorCurrentSpeed,
  kProcessorExternalClock,
  kProcessorMaximumSpeed,
  kSmbiosTextCount
};

constexpr size_t kSmbiosTextCapacity = 64;

using SmbiosTexts = std::array<std::string, kSmbiosTextCount>;

struct SmbiosWalkLimits {
  uint32_t structures = 0;  // 0: no count, walk to the end of the table
  bool stopAtEndOfTable = false;  // end at the type 127 structure (64-bit entry point)
};

// Returns the number of structures walked.
uint32_t DecodeSmbiosTable(const uint8_t* table, size_t size, SmbiosWalkLimits limits,
                           SmbiosTexts& texts);

// String number n of the string set that begins at strings and ends before end, cleaned
// (bytes below 0x20, 0x7F and from 0x80 up become '.'); empty for 0 or past the last.
std::string SmbiosString(const uint8_t* strings, const uint8_t* end, uint8_t n);

}  // namespace velora
