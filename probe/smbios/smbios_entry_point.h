#pragma once
// Finding the SMBIOS anchors in a block of firmware memory (or the entry point file Linux
// exposes): "_SM_" gives the version, "_DMI_" the table; "_SM3_" is taken when the block
// has no "_DMI_" at all, as modern firmware often has only the 64-bit entry point.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velora {

struct SmbiosEntryPoint {
  enum class Kind { None, Legacy, Version3 };
  Kind kind = Kind::None;
  bool valid = false;  // checksum verified
  std::string version;  // "%d.%d", empty when no "_SM_" (or "_SM3_") was met
  uint64_t tableAddress = 0;
  uint32_t tableLength = 0;     // for Version3 the maximum size
  uint32_t structureCount = 0;  // 0 for Version3, which has none
};

// Walks the block in 16-byte steps; every read stays inside the block.
SmbiosEntryPoint FindSmbiosEntryPoint(const uint8_t* block, size_t size);

}  // namespace velora
