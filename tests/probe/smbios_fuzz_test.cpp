// Fuzz entry points for the two parsers that read outside data: the SMBIOS anchor and
// structure walks, and the database line rules. Built with libFuzzer (clang) in the
// sanitizer build; in every build a bounded run of random inputs checks the same bounds.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "probe/pci/pci_database_line.h"
#include "probe/smbios/smbios_entry_point.h"
#include "probe/smbios/smbios_table.h"

namespace velora {

// Returns false when an invariant breaks; a read outside the input is caught by ASan.
bool FuzzSmbios(const uint8_t* data, size_t size) {
  FindSmbiosEntryPoint(data, size);
  SmbiosTexts texts;
  uint32_t walked = DecodeSmbiosTable(data, size, {0, false}, texts);
  // Every structure takes its 4-byte header and 2 closing zeros.
  if (walked > size / 6) return false;
  for (const std::string& text : texts) {
    if (text.size() > kSmbiosTextCapacity) return false;
    for (char c : text) {
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) return false;
    }
  }
  return true;
}

bool FuzzDatabaseLine(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  std::string name;
  ChipQuery a{"80862570", "02"}, b{"808624D0", "0A"};
  MatchVendorLine(line, "8086", name);
  MatchDeviceLine(line, "80862570", name);
  MatchClassLine(line, "0C0330", name);
  MatchChipLine(line, a, name);
  MatchChipsetLine(line, a, b, name);
  for (std::string_view field : SplitDatabaseFields(line)) {
    if (field.empty() || field.data() < line.data() ||
        field.data() + field.size() > line.data() + line.size()) {
      return false;
    }
  }
  return true;
}

}  // namespace velora

#ifdef VELORA_LIBFUZZER
#include <cstdlib>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the parser, so one target covers both.
  if (size == 0) return 0;
  bool ok = data[0] & 1 ? velora::FuzzSmbios(data + 1, size - 1)
                        : velora::FuzzDatabaseLine(data + 1, size - 1);
  if (!ok) std::abort();
  return 0;
}
#else
#include <gtest/gtest.h>

namespace velora {
namespace {

// Structure-shaped random tables: plausible headers with random lengths, strings and
// truncations, which reach the walk's edges far more often than uniform bytes.
std::vector<uint8_t> RandomTable(std::mt19937& rng) {
  std::vector<uint8_t> t;
  std::uniform_int_distribution<int> byte(0, 255), small(0, 6);
  int structures = small(rng);
  for (int s = 0; s < structures; ++s) {
    uint8_t types[] = {0, 2, 4, 127, static_cast<uint8_t>(byte(rng))};
    t.push_back(types[small(rng) % 5]);
    uint8_t length = static_cast<uint8_t>(small(rng) == 0 ? byte(rng) : 0x12 + small(rng) * 2);
    t.push_back(length);
    for (int i = 2; i < length; ++i) t.push_back(static_cast<uint8_t>(byte(rng) % 5));
    for (int n = small(rng); n > 0; --n) {
      for (int i = small(rng) * 3; i > 0; --i) t.push_back(static_cast<uint8_t>(byte(rng)));
      t.push_back(0);
    }
    t.push_back(0);
    if (small(rng) != 0) t.push_back(0);
  }
  if (!t.empty() && small(rng) == 0) t.resize(static_cast<size_t>(byte(rng)) % t.size());
  return t;
}

TEST(Fuzz, SmbiosWalkStaysInsideItsBuffer) {
  std::mt19937 rng(20251010);
  for (int i = 0; i < 20000; ++i) {
    std::vector<uint8_t> table = RandomTable(rng);
    // An exact-size heap copy, so ASan sees any read past the end.
    std::vector<uint8_t> copy(table.begin(), table.end());
    ASSERT_TRUE(FuzzSmbios(copy.data(), copy.size())) << "input " << i;
  }
}

TEST(Fuzz, DatabaseLinesStayInsideTheirBuffer) {
  std::mt19937 rng(1024);
  const char alphabet[] = "0123456789ABCDEFXx,\t\n; \r";
  std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 2), length(0, 40);
  for (int i = 0; i < 20000; ++i) {
    std::vector<uint8_t> line(length(rng));
    for (uint8_t& c : line) c = static_cast<uint8_t>(alphabet[pick(rng)]);
    ASSERT_TRUE(FuzzDatabaseLine(line.data(), line.size())) << "input " << i;
  }
}

}  // namespace
}  // namespace velora
#endif
