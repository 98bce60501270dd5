#pragma once
// One line of a PCI name database: its fields and the key and revision rules. Pure
// functions of the text, so the file reader stays a loop.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velora {

// Comment and blank lines: first character ';', CR, LF or tab (or nothing at all).
bool IsSkippedDatabaseLine(std::string_view line);

// Fields separated by any run of commas, tabs and line feeds; empty fields collapse.
std::vector<std::string_view> SplitDatabaseFields(std::string_view line);

// A name field as it reads: "%2C" is a comma and "%25" a percent sign, the two characters a field
// cannot hold as they are; any other text stays as it stands.
std::string DecodeDatabaseName(std::string_view field);

// Upper-case hexadecimal keys as the files hold them.
std::string VendorKey(uint32_t vendor);                   // "%04X"
std::string DeviceKey(uint32_t vendor, uint32_t device);  // "%04X%04X"
std::string RevisionKey(uint32_t revision);               // "%02X"
std::string ClassKey(uint32_t classCode);                 // "%06X"

// A field whose character at wildcardAt is 'X' matches every key that begins with the
// characters before it (case kept); any other field must equal the key, case ignored.
bool IsWildcardKey(std::string_view field, size_t wildcardAt);
bool WildcardKeyMatches(std::string_view field, std::string_view key, size_t wildcardAt);
bool ExactKeyMatches(std::string_view field, std::string_view key);

// A line applies when the device's revision text is at least the line's, case ignored.
bool RevisionAtLeast(std::string_view deviceRevision, std::string_view minimum);

// The per-file rules: the name when the line matches, nothing otherwise.
constexpr size_t kDeviceWildcardAt = 7;
constexpr size_t kClassWildcardAt = 4;

struct ChipQuery {
  std::string key;       // DeviceKey
  std::string revision;  // RevisionKey
};

bool MatchVendorLine(std::string_view line, std::string_view vendorKey, std::string& name);
bool MatchDeviceLine(std::string_view line, std::string_view deviceKey, std::string& name);
bool MatchClassLine(std::string_view line, std::string_view classKey, std::string& name);
// chip.pci and video.pci.
bool MatchChipLine(std::string_view line, const ChipQuery& chip, std::string& name);
bool MatchChipsetLine(std::string_view line, const ChipQuery& north, const ChipQuery& south,
                      std::string& name);

}  // namespace velora
