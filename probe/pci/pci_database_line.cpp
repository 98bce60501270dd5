#include "probe/pci/pci_database_line.h"

#include <cstdio>

namespace velora {

namespace {

bool IsSeparator(char c) { return c == ',' || c == '\t' || c == '\n'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char x = Upper(a[i]), y = Upper(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

bool KeyMatches(std::string_view field, std::string_view key, size_t wildcardAt) {
  return IsWildcardKey(field, wildcardAt) ? WildcardKeyMatches(field, key, wildcardAt)
                                          : ExactKeyMatches(field, key);
}

}  // namespace

bool IsSkippedDatabaseLine(std::string_view line) {
  if (line.empty()) return true;
  char c = line.front();
  return c == ';' || c == '\r' || c == '\n' || c == '\t';
}

std::vector<std::string_view> SplitDatabaseFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

std::string DecodeDatabaseName(std::string_view field) {
  std::string name;
  name.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    std::string_view rest = field.substr(i, 3);
    if (rest == "%2C" || rest == "%2c") {
      name += ',';
      i += 2;
    } else if (rest == "%25") {
      name += '%';
      i += 2;
    } else {
      name += field[i];
    }
  }
  return name;
}

std::string VendorKey(uint32_t vendor) { return Hex(vendor & 0xFFFF, 4); }
std::string DeviceKey(uint32_t vendor, uint32_t device) {
  return Hex(vendor & 0xFFFF, 4) + Hex(device & 0xFFFF, 4);
}
std::string RevisionKey(uint32_t revision) { return Hex(revision & 0xFF, 2); }
std::string ClassKey(uint32_t classCode) { return Hex(classCode & 0xFFFFFF, 6); }

bool IsWildcardKey(std::string_view field, size_t wildcardAt) {
  return field.size() > wildcardAt && field[wildcardAt] == 'X';
}

bool WildcardKeyMatches(std::string_view field, std::string_view key, size_t wildcardAt) {
  if (!IsWildcardKey(field, wildcardAt) || key.size() < wildcardAt) return false;
  return field.substr(0, wildcardAt) == key.substr(0, wildcardAt);
}

bool ExactKeyMatches(std::string_view field, std::string_view key) {
  return CompareIgnoringCase(field, key) == 0;
}

bool RevisionAtLeast(std::string_view deviceRevision, std::string_view minimum) {
  return CompareIgnoringCase(deviceRevision, minimum) >= 0;
}

bool MatchVendorLine(std::string_view line, std::string_view vendorKey, std::string& name) {
  auto f = SplitDatabaseFields(line);
  if (f.size() < 2 || !ExactKeyMatches(f[0], vendorKey)) return false;
  name = DecodeDatabaseName(f[1]);
  return true;
}

bool MatchDeviceLine(std::string_view line, std::string_view deviceKey, std::string& name) {
  auto f = SplitDatabaseFields(line);
  if (f.size() < 2 || !ExactKeyMatches(f[0], deviceKey)) return false;
  name = DecodeDatabaseName(f[1]);
  return true;
}

bool MatchClassLine(std::string_view line, std::string_view classKey, std::string& name) {
  auto f = SplitDatabaseFields(line);
  if (f.size() < 2 || !KeyMatches(f[0], classKey, kClassWildcardAt)) return false;
  name = DecodeDatabaseName(f[1]);
  return true;
}

bool MatchChipLine(std::string_view line, const ChipQuery& chip, std::string& name) {
  auto f = SplitDatabaseFields(line);
  if (f.size() < 3) return false;
  bool match = IsWildcardKey(f[0], kDeviceWildcardAt)
                   ? WildcardKeyMatches(f[0], chip.key, kDeviceWildcardAt)
                   : ExactKeyMatches(f[0], chip.key) && RevisionAtLeast(chip.revision, f[1]);
  if (!match) return false;
  name = DecodeDatabaseName(f[2]);
  return true;
}

bool MatchChipsetLine(std::string_view line, const ChipQuery& north, const ChipQuery& south,
                      std::string& name) {
  auto f = SplitDatabaseFields(line);
  if (f.size() < 5) return false;
  bool match = false;
  if (IsWildcardKey(f[0], kDeviceWildcardAt)) {
    match = WildcardKeyMatches(f[0], north.key, kDeviceWildcardAt);
  } else if (ExactKeyMatches(f[0], north.key) && RevisionAtLeast(north.revision, f[1])) {
    match = f[2].front() == 'X' || (KeyMatches(f[2], south.key, kDeviceWildcardAt) &&
                                    RevisionAtLeast(south.revision, f[3]));
  }
  if (!match) return false;
  name = DecodeDatabaseName(f[4]);
  return true;
}

}  // namespace velora
