#include "probe/smbios/smbios_probe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "probe/probix_object.h"
#include "probe/smbios/smbios_entry_point.h"
#include "probe/smbios/smbios_table.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

using Bytes = std::vector<uint8_t>;

// One structure: a formatted part of `length` bytes with the given bytes at their offsets,
// then its strings and the double zero.
Bytes Structure(uint8_t type, uint8_t length, const std::map<size_t, uint8_t>& fields,
                const std::vector<std::string>& strings) {
  Bytes s(length, 0);
  s[0] = type;
  s[1] = length;
  for (auto [offset, value] : fields) s[offset] = value;
  for (const std::string& text : strings) {
    s.insert(s.end(), text.begin(), text.end());
    s.push_back(0);
  }
  if (strings.empty()) s.push_back(0);
  s.push_back(0);
  return s;
}

Bytes Join(const std::vector<Bytes>& parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

void FixChecksum(Bytes& b, size_t from, size_t length, size_t at) {
  uint8_t sum = 0;
  for (size_t i = from; i < from + length; ++i) sum = static_cast<uint8_t>(sum + b[i]);
  b[at] = static_cast<uint8_t>(b[at] - sum);
}

// "_SM_" (optional) followed by "_DMI_" 16 bytes later.
Bytes LegacyEntryPoint(uint8_t major, uint8_t minor, uint32_t address, uint16_t length,
                       uint16_t count, bool withSm = true) {
  Bytes ep(0x1F, 0);
  std::memcpy(ep.data(), "_SM_", 4);
  ep[5] = 0x1F;
  ep[6] = major;
  ep[7] = minor;
  std::memcpy(ep.data() + 0x10, "_DMI_", 5);
  ep[0x16] = length & 0xFF;
  ep[0x17] = length >> 8;
  for (int i = 0; i < 4; ++i) ep[0x18 + i] = (address >> (8 * i)) & 0xFF;
  ep[0x1C] = count & 0xFF;
  ep[0x1D] = count >> 8;
  FixChecksum(ep, 0x10, 15, 0x15);
  if (!withSm) std::memset(ep.data(), 0, 0x10);
  return ep;
}

Bytes Version3EntryPoint(uint8_t major, uint8_t minor, uint64_t address, uint32_t maxSize) {
  Bytes ep(0x18, 0);
  std::memcpy(ep.data(), "_SM3_", 5);
  ep[6] = 0x18;
  ep[7] = major;
  ep[8] = minor;
  for (int i = 0; i < 4; ++i) ep[0x0C + i] = (maxSize >> (8 * i)) & 0xFF;
  for (int i = 0; i < 8; ++i) ep[0x10 + i] = (address >> (8 * i)) & 0xFF;
  FixChecksum(ep, 0, 0x18, 5);
  return ep;
}

constexpr uint32_t kTableAt = 0x1000;

class SmbiosProbeTest : public ::testing::Test {
 protected:
  void Install(const Bytes& ep, const Bytes& table, size_t epOffset = 0x40) {
    t.driver.memory.assign(0x100000, 0);
    std::copy(ep.begin(), ep.end(), t.driver.memory.begin() + 0xF0000 + epOffset);
    std::copy(table.begin(), table.end(), t.driver.memory.begin() + kTableAt);
  }
  void InstallLegacy(const Bytes& table, uint16_t count, bool withSm = true) {
    Install(LegacyEntryPoint(2, 3, kTableAt, static_cast<uint16_t>(table.size()), count, withSm),
            table);
  }
  std::string Text(SmbiosProbe& p, uint32_t id) {
    std::string text = "x";
    EXPECT_EQ(p.GetString(id, text), 0) << std::hex << id;
    return text;
  }
  int32_t Found(SmbiosProbe& p) {
    int32_t value = -7;
    EXPECT_EQ(p.GetInt(0x6001, value), 0);
    return value;
  }
  TestProbeEnvironment t;
};

Bytes Bios(uint8_t romByte) {
  return Structure(0, 0x14, {{4, 1}, {5, 2}, {8, 3}, {9, romByte}},
                   {"Award Software", "6.00 PG", "12/01/2003"});
}

TEST_F(SmbiosProbeTest, DecodesTheThreeStructureTypes) {
  Bytes board = Structure(2, 8, {{4, 1}, {5, 0}, {6, 2}}, {"ASUSTeK", "Rev 1.xx"});
  Bytes cpu = Structure(4, 0x1A,
                        {{4, 1}, {7, 2}, {0x10, 3}, {0x12, 0xC8}, {0x14, 0xB8}, {0x15, 0x0B},
                         {0x16, 0x60}, {0x17, 0x09}},
                        {"Socket 478", "Intel", "Intel(R) Pentium(R) 4 CPU 2.40GHz"});
  InstallLegacy(Join({Bios(0x0F), board, cpu}), 3);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 1);
  EXPECT_EQ(Text(p, 0x6002), "2.3");
  EXPECT_EQ(Text(p, 0x6100), "Award Software");
  EXPECT_EQ(Text(p, 0x6101), "6.00 PG");
  EXPECT_EQ(Text(p, 0x6102), "12/01/2003");
  EXPECT_EQ(Text(p, 0x6103), "1024");
  EXPECT_EQ(Text(p, 0x6200), "ASUSTeK");
  EXPECT_EQ(Text(p, 0x6201), "");  // string number 0
  EXPECT_EQ(Text(p, 0x6202), "Rev 1.xx");
  EXPECT_EQ(Text(p, 0x6300), "Socket 478");
  EXPECT_EQ(Text(p, 0x6301), "Intel");
  EXPECT_EQ(Text(p, 0x6302), "Intel(R) Pentium(R) 4 CPU 2.40GHz");
  EXPECT_EQ(Text(p, 0x6303), "2400");
  EXPECT_EQ(Text(p, 0x6304), "200");
  EXPECT_EQ(Text(p, 0x6305), "3000");
  std::string text = "x";
  EXPECT_EQ(p.GetString(0x6001, text), -1);  // an integer id only
  EXPECT_EQ(p.GetString(0x6103 + 1, text), -1);
  EXPECT_EQ(text, "");
  int32_t value = 0;
  EXPECT_EQ(p.GetInt(0x6100, value), -1);
  EXPECT_EQ(value, -1);
}

TEST_F(SmbiosProbeTest, LegacyAnchorAloneHasNoVersion) {
  InstallLegacy(Bios(0), 1, false);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 1);
  EXPECT_EQ(Text(p, 0x6002), "");
  EXPECT_EQ(Text(p, 0x6103), "64");
}

TEST_F(SmbiosProbeTest, BadChecksumKeepsOnlyTheVersion) {
  Bytes ep = LegacyEntryPoint(2, 4, kTableAt, 64, 1);
  ep[0x16] ^= 1;
  Install(ep, Bios(0));
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 0);
  EXPECT_EQ(Text(p, 0x6002), "2.4");
  EXPECT_EQ(Text(p, 0x6100), "");
}

TEST_F(SmbiosProbeTest, NoDriverLeavesEverythingEmpty) {
  InstallLegacy(Bios(0), 1);
  t.driver.status = kDriverNoDevice;
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 0);
  EXPECT_EQ(Text(p, 0x6002), "");
  EXPECT_EQ(Text(p, 0x6100), "");
}

TEST_F(SmbiosProbeTest, ShortMemoryReadLeavesEverythingEmpty) {
  InstallLegacy(Bios(0), 1);
  t.driver.memoryReadLimit = 0x8000;
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 0);
  EXPECT_EQ(Text(p, 0x6100), "");
}

TEST_F(SmbiosProbeTest, StringsAreCleanedAndCut) {
  std::string vendor = "Caf\xA9 \x7F" "Board\x01";
  Bytes board = Structure(2, 8, {{4, 1}, {5, 2}, {6, 9}}, {vendor, std::string(80, 'P')});
  InstallLegacy(board, 1);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Text(p, 0x6200), "Caf. .Board.");
  EXPECT_EQ(Text(p, 0x6201), std::string(64, 'P'));
  EXPECT_EQ(Text(p, 0x6202), "");  // beyond the last string
}

TEST_F(SmbiosProbeTest, LaterStructuresOverwriteEarlierOnes) {
  Bytes cpu1 = Structure(4, 0x1A, {{4, 1}, {0x16, 0x20}, {0x17, 0x03}}, {"CPU 1"});
  Bytes cpu2 = Structure(4, 0x1A, {{4, 1}}, {"CPU 2"});
  InstallLegacy(Join({cpu1, cpu2}), 2);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Text(p, 0x6300), "CPU 2");
  EXPECT_EQ(Text(p, 0x6303), "0");
}

TEST_F(SmbiosProbeTest, CountLimitsTheWalk) {
  Bytes board = Structure(2, 8, {{4, 1}}, {"Second"});
  InstallLegacy(Join({Bios(0), board}), 1);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Text(p, 0x6100), "Award Software");
  EXPECT_EQ(Text(p, 0x6200), "");
}

TEST_F(SmbiosProbeTest, ZeroCountWalksNothing) {
  InstallLegacy(Bios(0), 0);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 1);
  EXPECT_EQ(Text(p, 0x6100), "");
}

TEST_F(SmbiosProbeTest, FieldsPastTheFormattedPartStayEmpty) {
  // An SMBIOS 2.0 processor structure ends before the speeds.
  Bytes cpu = Structure(4, 0x12, {{4, 1}, {7, 2}, {0x10, 1}}, {"Slot 1", "Intel"});
  InstallLegacy(cpu, 1);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Text(p, 0x6300), "Slot 1");
  EXPECT_EQ(Text(p, 0x6302), "Slot 1");
  EXPECT_EQ(Text(p, 0x6304), "");
  EXPECT_EQ(Text(p, 0x6303), "");
}

TEST_F(SmbiosProbeTest, Version3EntryPointAlone) {
  Bytes table = Join({Bios(0xFF), Structure(127, 4, {}, {}), Structure(2, 8, {{4, 1}}, {"x"})});
  // The maximum size is larger than the table, as firmware gives it.
  Install(Version3EntryPoint(3, 2, kTableAt, 0x800), table, 0x200);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 1);
  EXPECT_EQ(Text(p, 0x6002), "3.2");
  EXPECT_EQ(Text(p, 0x6103), "16384");
  // The walk ends at the end-of-table structure.
  EXPECT_EQ(Text(p, 0x6200), "");
}

TEST_F(SmbiosProbeTest, LegacyEntryPointWinsOverVersion3) {
  Bytes table = Bios(1);
  t.driver.memory.assign(0x100000, 0);
  Bytes sm3 = Version3EntryPoint(3, 0, 0x9000, 0x100);
  Bytes legacy = LegacyEntryPoint(2, 8, kTableAt, static_cast<uint16_t>(table.size()), 1);
  std::copy(sm3.begin(), sm3.end(), t.driver.memory.begin() + 0xF0000);
  std::copy(legacy.begin(), legacy.end(), t.driver.memory.begin() + 0xF0100);
  std::copy(table.begin(), table.end(), t.driver.memory.begin() + kTableAt);
  SmbiosProbe p(t.env);
  EXPECT_EQ(Text(p, 0x6002), "2.8");
  EXPECT_EQ(Text(p, 0x6103), "128");
}

TEST_F(SmbiosProbeTest, SysfsFilesWhenMemoryIsClosed) {
  char pattern[] = "/tmp/velora-dmi-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::filesystem::path folder = pattern;
  Bytes table = Bios(3);
  Bytes ep = LegacyEntryPoint(2, 7, 0xDEAD0000u, static_cast<uint16_t>(table.size()), 1);
  std::ofstream(folder / "smbios_entry_point", std::ios::binary)
      .write(reinterpret_cast<const char*>(ep.data()), static_cast<std::streamsize>(ep.size()));
  std::ofstream(folder / "DMI", std::ios::binary)
      .write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
  t.env.firmwareTablesFolder = folder.string();
  SmbiosProbe p(t.env);
  EXPECT_EQ(Found(p), 1);
  EXPECT_EQ(Text(p, 0x6002), "2.7");
  EXPECT_EQ(Text(p, 0x6103), "256");
  std::filesystem::remove_all(folder);
}

// Malformed tables: every walk stops inside the buffer (the sanitizer build checks it).
TEST(SmbiosTableWalk, StopsAtMalformedStructures) {
  SmbiosTexts texts;
  Bytes good = Bios(0);
  // Length below the header.
  Bytes zeroLength = Join({good, Bytes{0, 0, 5, 0, 0, 0}, Structure(2, 8, {{4, 1}}, {"After"})});
  EXPECT_EQ(DecodeSmbiosTable(zeroLength.data(), zeroLength.size(), {0, false}, texts), 1u);
  EXPECT_EQ(texts[kBoardManufacturer], "");
  // Formatted part longer than what is left.
  Bytes tooLong = Join({good, Bytes{2, 0x40, 0, 0, 1, 0}});
  EXPECT_EQ(DecodeSmbiosTable(tooLong.data(), tooLong.size(), {0, false}, texts), 1u);
  // A string set without its double zero.
  Bytes board = Structure(2, 8, {{4, 1}}, {"Cut"});
  board.resize(board.size() - 2);
  Bytes runOff = Join({good, board});
  texts = {};
  EXPECT_EQ(DecodeSmbiosTable(runOff.data(), runOff.size(), {0, false}, texts), 1u);
  EXPECT_EQ(texts[kBoardManufacturer], "");
  // A count larger than the table holds.
  EXPECT_EQ(DecodeSmbiosTable(good.data(), good.size(), {40, false}, texts), 1u);
  // Nothing at all.
  EXPECT_EQ(DecodeSmbiosTable(good.data(), 3, {0, false}, texts), 0u);
}

TEST(SmbiosEntryPointWalk, AnchorsCutOffByTheBlock) {
  Bytes ep = LegacyEntryPoint(2, 3, kTableAt, 10, 1);
  // "_DMI_" at the very end of the block with its fields missing: not valid.
  Bytes block(ep.begin(), ep.begin() + 0x15);
  SmbiosEntryPoint e = FindSmbiosEntryPoint(block.data(), block.size());
  EXPECT_EQ(e.kind, SmbiosEntryPoint::Kind::Legacy);
  EXPECT_FALSE(e.valid);
  EXPECT_EQ(e.version, "2.3");
  Bytes sm3 = Version3EntryPoint(3, 0, 0, 0);
  sm3.resize(0x10);
  e = FindSmbiosEntryPoint(sm3.data(), sm3.size());
  EXPECT_FALSE(e.valid);
}

// The router's platform text from a real SMBIOS reader.
class SocketNormalisationTest : public SmbiosProbeTest {
 protected:
  std::string Platform(const std::string& socket) {
    InstallLegacy(Structure(4, 0x1A, {{4, 1}}, {socket}), 1);
    ProbixObject probe(t.env, kCreateSmbiosProbe);
    char buffer[kProbeTextCapacity];
    result = probe.GetString(0x1006, buffer);
    return buffer;
  }
  int32_t result = 0;
};

TEST_F(SocketNormalisationTest, SlotAndSocketNames) {
  EXPECT_EQ(Platform("Slot-A"), "Slot A");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Platform("CPU Slot 1 (SC242)"), "Slot 1");
  EXPECT_EQ(Platform("Socket A (462)"), "Socket A");
  // Without a processor part nothing else answers.
  EXPECT_EQ(Platform("Socket 370"), "");
  EXPECT_EQ(result, -1);
}

}  // namespace
}  // namespace velora
