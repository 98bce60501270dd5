#pragma once
// The data files behind the form's lists: plain lists of one entry a line, and one column of a
// PCI name database with runs of equal names collapsed.

#include <optional>
#include <string>
#include <vector>

namespace velora {

// Every piece between line feeds loses its last character, the carriage return of a CR LF line
// end: a file with LF-only ends loses a letter of each entry. A missing file gives no entries.
std::vector<std::string> PlainListEntries(const std::string& text);
std::vector<std::string> LoadPlainList(const std::string& path);

// Field `field` (1-based) of each line, fields separated by ",", TAB or LF; comment lines (";")
// and blank lines skipped, short lines skipped, an entry equal to the one before it dropped.
// Lines are read in pieces of at most 1023 bytes. nullopt for a missing file: the list stays.
std::optional<std::vector<std::string>> LoadPciColumn(const std::string& path, int field);

// The form's files: relative to the program folder.
constexpr const char* kCountryFile = "data/country.dat";
constexpr const char* kAreaFile = "data/area.dat";
constexpr const char* kMemoryFile = "data/memory.dat";
constexpr const char* kRaidFile = "data/raid.dat";
constexpr const char* kVideoPciFile = "data/video.pci";
constexpr const char* kChipsetPciFile = "data/chipset.pci";
constexpr int kVideoPciField = 3;
constexpr int kChipsetPciField = 5;

}  // namespace velora
