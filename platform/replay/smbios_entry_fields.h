#pragma once
// The fields of a recorded SMBIOS entry point that replay reads and mends: where its table
// lies, how long the entry says the table is, and its checksums.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velora::recorded {

enum class SmbiosAnchor { kNone, kSm, kSm3, kDmi };

// The anchor of an entry point whose bytes are all there (length byte in range).
SmbiosAnchor EntryAnchor(const std::vector<uint8_t>& entry);
uint64_t EntryTableAddress(const std::vector<uint8_t>& entry);
// The table length the entry gives (for "_SM3_" its maximum size).
uint64_t EntryTableLength(const std::vector<uint8_t>& entry);
// Sets the table address and makes every checksum of the entry right.
void SetEntryTableAddress(std::vector<uint8_t>& entry, uint64_t address);

// Builds the "_SM3_" entry point of a bare table.
std::vector<uint8_t> MadeUpEntryPoint(uint64_t tableAddress, size_t tableLength);

}  // namespace velora::recorded
