// Naming of the processors of today: the brand-string cleaning, the tables against recorded
// processors worked out by hand, and the boundary to the classic era.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cpu_fixture.h"
#include "probe/cpu/cpu_brand_clean.h"
#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_today_amd.h"
#include "probe/cpu/cpu_today_centaur.h"
#include "probe/cpu/cpu_today_intel.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

const fs::path kDumps = fs::path(VELORA_TESTDATA) / "cpuid";
const fs::path kTable =
    fs::path(VELORA_TESTS_DIR) / "data" / "cpu" / "naming_today.tsv";

TEST(CleanBrandString, DropsVendorTrademarksCpuWordsAndClock) {
  EXPECT_EQ(CleanBrandString("Intel(R) Core(TM) i7-2600 CPU @ 3.40GHz"), "Core i7-2600");
  EXPECT_EQ(CleanBrandString("Intel(R) Core(TM)2 Duo CPU     E6750  @ 2.66GHz"),
            "Core2 Duo E6750");
  EXPECT_EQ(CleanBrandString("Intel(R) Atom(TM) CPU  230   @ 1.60GHz"), "Atom 230");
  EXPECT_EQ(CleanBrandString("Intel(R) Atom(TM) Processor E3930 @ 1.30GHz"), "Atom E3930");
  EXPECT_EQ(CleanBrandString("AMD Opteron(tm) Processor 6380"), "Opteron 6380");
  EXPECT_EQ(CleanBrandString("AMD EPYC"), "EPYC");
}

TEST(CleanBrandString, DropsTheGenerationWordsOfTwelfthGenAndLater) {
  EXPECT_EQ(CleanBrandString("12th Gen Intel(R) Core(TM) i5-12400"), "Core i5-12400");
  EXPECT_EQ(CleanBrandString("11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz"), "Core i7-1165G7");
  // "Gen" only goes with its ordinal.
  EXPECT_EQ(CleanBrandString("Intel(R) Core(TM) Ultra 9 285H"), "Core Ultra 9 285H");
}

TEST(CleanBrandString, DropsCoreCountWordsInEveryWrittenForm) {
  EXPECT_EQ(CleanBrandString("AMD Ryzen 5 7600X 6-Core Processor"), "Ryzen 5 7600X");
  EXPECT_EQ(CleanBrandString("AMD Ryzen Threadripper 1920X 12-Core Processor"),
            "Ryzen Threadripper 1920X");
  EXPECT_EQ(CleanBrandString("AMD FX(tm)-8150 Eight-Core Processor"), "FX-8150");
  EXPECT_EQ(CleanBrandString("Quad-Core AMD Opteron(tm) Processor 2344 HE"), "Opteron 2344 HE");
  EXPECT_EQ(CleanBrandString("AMD Athlon(tm) 64 X2 Dual Core Processor 3800+"), "Athlon 64 X2 3800+");
  // "Quad" before anything but "Core" is a model name.
  EXPECT_EQ(CleanBrandString("Intel(R) Core(TM)2 Quad CPU    Q6600  @ 2.40GHz"), "Core2 Quad Q6600");
}

TEST(CleanBrandString, DropsTheIntegratedGraphics) {
  EXPECT_EQ(CleanBrandString("AMD Ryzen 5 2500U with Radeon Vega Mobile Gfx"), "Ryzen 5 2500U");
  EXPECT_EQ(CleanBrandString("AMD Ryzen 7 8700G w/ Radeon 780M Graphics"), "Ryzen 7 8700G");
  EXPECT_EQ(CleanBrandString("AMD RX-427BB with AMD Radeon(tm) R7 Graphics"), "RX-427BB");
  EXPECT_EQ(CleanBrandString("AMD A10-7850K Radeon R7, 12 Compute Cores 4C+8G"), "A10-7850K");
  EXPECT_EQ(CleanBrandString("AMD A12-9700P RADEON R7, 10 COMPUTE CORES 4C+6G"), "A12-9700P");
  EXPECT_EQ(CleanBrandString("AMD A10 PRO-7350B R6, 10 Compute Cores 4C+6G"), "A10 PRO-7350B");
  // "APU" and "SOC" are part of AMD's product names and stay.
  EXPECT_EQ(CleanBrandString("AMD A8-3850 APU with Radeon(tm) HD Graphics"), "A8-3850 APU");
  EXPECT_EQ(CleanBrandString("AMD Custom APU 0405"), "Custom APU 0405");
}

TEST(CleanBrandString, ReadsTheClockInTheFormsCentaurAndZhaoxinWriteIt) {
  EXPECT_EQ(CleanBrandString("VIA Nano processor L2200@1600MHz"), "Nano L2200");
  EXPECT_EQ(CleanBrandString("VIA QuadCore L4700 @ 1.2+ GHz"), "QuadCore L4700");
  EXPECT_EQ(CleanBrandString("VIA Eden X4 C4250@1.2+GHz"), "Eden X4 C4250");
  EXPECT_EQ(CleanBrandString("ZHAOXIN KaiXian KX-6000G/4@2.6GHz"), "KaiXian KX-6000G/4");
  EXPECT_EQ(CleanBrandString("Intel(R) Pentium(R) 4 CPU 3.20GHz"), "Pentium 4");
  // An "@" not followed by a clock is left to the name.
  EXPECT_EQ(CleanBrandString("Model @ Home"), "Model @ Home");
}

TEST(CleanBrandString, LeavesNoParenthesisAndNothingForGenericWords) {
  EXPECT_EQ(CleanBrandString("Genuine Intel(R) CPU 3.00GHz"), "");
  EXPECT_EQ(CleanBrandString("   "), "");
  EXPECT_EQ(CleanBrandString(""), "");
  EXPECT_EQ(CleanBrandString("Athlon XP (Palomin?00+"), "Athlon XP Palomin?00+");
  EXPECT_EQ(CleanBrandString("Core(tm) i9 (ES)"), "Core i9 ES");
}

// ---- Tables against recorded processors ----

struct Named {
  std::string dump, name, codeName, platform, process;
};

std::vector<Named> ReadTable() {
  std::vector<Named> out;
  std::ifstream in(kTable);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::stringstream s(line);
    for (std::string cell; std::getline(s, cell, '\t');) cells.push_back(cell);
    cells.resize(5);
    out.push_back({cells[0], cells[1], cells[2], cells[3], cells[4]});
  }
  return out;
}

struct Replayed {
  TestProbeEnvironment t;
  std::unique_ptr<CpuProbe> probe;
};

std::unique_ptr<Replayed> Replay(const std::string& dump) {
  auto r = std::make_unique<Replayed>();
  EXPECT_GT(r->t.cpuid.LoadDump((kDumps / dump).string()), 0) << dump;
  r->t.system.processors = r->t.cpuid.logicalProcessors;
  r->probe = std::make_unique<CpuProbe>(r->t.env, 1, 0);
  return r;
}

std::string Text(CpuProbe& probe, uint32_t id) {
  std::string text;
  probe.GetString(id, text);
  return text;
}

TEST(NamingToday, TheHandWorkedTableCoversBothVendorsAndEveryLineage) {
  std::vector<Named> table = ReadTable();
  EXPECT_GE(table.size(), 25u);
  int intel = 0, amd = 0, atom = 0, centaur = 0;
  for (const Named& n : table) {
    intel += n.dump.starts_with("intel/x86-64/") ? 1 : 0;
    atom += n.dump.starts_with("intel/x86-atom/") ? 1 : 0;
    amd += n.dump.starts_with("amd/") ? 1 : 0;
    centaur += n.dump.starts_with("via/") || n.dump.starts_with("zhaoxin/") ? 1 : 0;
  }
  EXPECT_GE(intel, 10);
  EXPECT_GE(amd, 10);
  EXPECT_GE(atom, 3);
  EXPECT_GE(centaur, 3);
}

class NamingTodayTable : public ::testing::TestWithParam<Named> {};

TEST_P(NamingTodayTable, NamesTheRecordedProcessor) {
  const Named& n = GetParam();
  auto r = Replay(n.dump);
  const CpuFields& f = r->probe->Fields();
  ASSERT_TRUE(IsProcessorOfToday(f));
  EXPECT_EQ(f.name, n.name);
  EXPECT_EQ(f.codeName, n.codeName);
  EXPECT_EQ(f.platform, n.platform);
  EXPECT_EQ(f.process, n.process);
  EXPECT_EQ(Text(*r->probe, 0x1001), n.name + " (" + n.codeName + ")");
  EXPECT_EQ(Text(*r->probe, 0x100C), f.vendorShortName + " " + n.name);
}

INSTANTIATE_TEST_SUITE_P(Recorded, NamingTodayTable, ::testing::ValuesIn(ReadTable()),
                         [](const auto& info) {
                           std::string n = info.param.dump;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

// ---- The era boundary over every recorded processor ----

std::vector<std::string> AllDumps() {
  std::vector<std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(kDumps)) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt") {
      out.push_back(fs::relative(entry.path(), kDumps).string());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The folders are the processor families; these are the ones from 2006 on.
bool FolderIsOfToday(const std::string& dump) {
  for (std::string_view classic : {"amd/k5/", "amd/k6/", "amd/k7/", "amd/k8/", "intel/ia-32/",
                                   "intel/x86-64/netburst/", "via/esther/", "via/ezra/",
                                   "via/nehemiah/", "via/samuel/", "via/samuel2/"}) {
    if (dump.starts_with(classic)) return false;
  }
  return true;
}

TEST(NamingToday, TheEraFollowsTheProcessorFamilyOfEveryRecordedDump) {
  std::vector<std::string> dumps = AllDumps();
  ASSERT_GE(dumps.size(), 200u);
  for (const std::string& dump : dumps) {
    auto r = Replay(dump);
    EXPECT_EQ(IsProcessorOfToday(r->probe->Fields()), FolderIsOfToday(dump)) << dump;
  }
}

TEST(NamingToday, NoProcessorOfTodayCarriesAClassicName) {
  constexpr std::string_view kClassic[] = {
      "Katmai", "Klamath", "Deschutes", "Coppermine", "Tualatin", "Mendocino (", "Banias",
      "Dothan", "Yonah", "Willamette", "Northwood", "Prescott", "Smithfield", "Presler",
      "Hammer", "Engineering Sample", "Unknown CPU", "Pentium III", "Pentium Pro", "Itanium",
      "Thunderbird", "Palomino", "Barton", "Esther", "486", "Socket 370", "Slot 1"};
  int today = 0;
  for (const std::string& dump : AllDumps()) {
    auto r = Replay(dump);
    const CpuFields& f = r->probe->Fields();
    if (!IsProcessorOfToday(f)) continue;
    ++today;
    EXPECT_FALSE(f.name.empty()) << dump;
    for (std::string_view word : kClassic) {
      EXPECT_EQ(f.nameWithCodeName.find(word), std::string::npos) << dump << ": " << word;
      EXPECT_EQ(f.platform.find(word), std::string::npos) << dump << ": " << word;
    }
  }
  EXPECT_GE(today, 150);
}

// ---- The tables themselves ----

void ExpectEveryRowReachable(std::span<const TodayRow> rows, const char* table) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const TodayRow& row = rows[i];
    EXPECT_LE(row.modelLow, row.modelHigh) << table << " row " << i;
    EXPECT_LE(row.steppingLow, row.steppingHigh) << table << " row " << i;
    EXPECT_TRUE(row.process.empty() || row.process.starts_with("0.0")) << table << " row " << i;
    // An earlier row without conditions that covers this one's whole range hides it.
    for (size_t k = 0; k < i; ++k) {
      const TodayRow& e = rows[k];
      bool covers = e.family == row.family && e.modelLow <= row.modelLow &&
                    e.modelHigh >= row.modelHigh && e.steppingLow <= row.steppingLow &&
                    e.steppingHigh >= row.steppingHigh &&
                    (e.nameHas.empty() || e.nameHas == row.nameHas) &&
                    (e.nameEnds.empty() || row.nameEnds.ends_with(e.nameEnds));
      EXPECT_FALSE(covers) << table << " row " << i << " (" << row.codeName
                           << ") is hidden by row " << k;
    }
  }
}

TEST(NamingToday, EveryTableRowCanMatch) {
  ExpectEveryRowReachable(kIntelRowsOfToday, "Intel");
  ExpectEveryRowReachable(kAmdRowsOfToday, "AMD");
  ExpectEveryRowReachable(kHygonRowsOfToday, "Hygon");
  ExpectEveryRowReachable(kCentaurRowsOfToday, "Centaur");
}

// ---- Targeted cases ----

class NamingTodayFixture : public CpuFixture {
 protected:
  // Leaves 0x80000002 to 0x80000004.
  void SetBrand(const char* brand) {
    char bytes[48] = {};
    std::memcpy(bytes, brand, std::min<size_t>(std::strlen(brand), 47));
    for (uint32_t i = 0; i < 3; ++i) {
      CpuidRegisters r;
      std::memcpy(&r.eax, bytes + 16 * i, 4);
      std::memcpy(&r.ebx, bytes + 16 * i + 4, 4);
      std::memcpy(&r.ecx, bytes + 16 * i + 8, 4);
      std::memcpy(&r.edx, bytes + 16 * i + 12, 4);
      SetLeaf(0x80000002 + i, r);
    }
  }
};

TEST_F(NamingTodayFixture, WithoutABrandStringTheSignatureNamesTheProcessor) {
  SetVendor("GenuineIntel", 0x20);
  SetLeaf(1, {0x00090672, 0, 0, 0});  // display family 06h, model 97h
  const CpuFields& f = Identify();
  EXPECT_EQ(f.nameWithCodeName, "Family 06h Model 97h (Alder Lake)");
  EXPECT_EQ(f.vendorPlusName, "Intel Family 06h Model 97h");
  EXPECT_EQ(f.platform, "LGA1700");
  EXPECT_EQ(f.multiplierMethod, kMethodIntelRatioRegisters);
}

TEST_F(NamingTodayFixture, AnUnknownNewerModelKeepsItsBrandAndNoCodeName) {
  SetVendor("GenuineIntel", 0x20);
  SetHighestExtended(0x80000008);
  SetLeaf(1, {0x000F06F1, 0, 0, 0});  // family 6 model FFh: no such model yet
  SetBrand("Intel(R) Core(TM) Ultra 9 499K");
  const CpuFields& f = Identify();
  EXPECT_EQ(f.nameWithCodeName, "Core Ultra 9 499K");
  EXPECT_EQ(f.codeName, "");
  EXPECT_EQ(f.platform, "");
  EXPECT_EQ(f.process, "");
  EXPECT_EQ(f.multiplierMethod, 0);
}

TEST_F(NamingTodayFixture, HandheldApusAndZen5ServersFromTheirSignatures) {
  struct Case {
    uint32_t leaf1Eax;  // display family and model worked into the signature by hand
    const char* brand;
    const char* named;
    const char* process;
  } cases[] = {
      {0x00890F02, "AMD Custom APU 0405", "Custom APU 0405 (Zen 2 Aerith)", "0.007"},  // 17h 90h
      {0x00890F10, "AMD Custom APU 0932", "Custom APU 0932 (Zen 2 Sephiroth)", "0.006"},  // 17h 91h
      {0x00B00F21, "AMD EPYC 9555 64-Core Processor", "EPYC 9555 (Zen 5 Turin)", "0.004"},  // 1Ah 02h
      {0x00B10F10, "AMD EPYC 9965 192-Core Processor", "EPYC 9965 (Zen 5c Turin Dense)",
       "0.003"},  // 1Ah 11h
  };
  for (const Case& c : cases) {
    SetVendor("AuthenticAMD", 0x10);
    SetHighestExtended(0x80000008);
    SetLeaf(1, {c.leaf1Eax, 0, 0, 0});
    SetLeaf(0x80000001, {c.leaf1Eax, 0, 0, 0});
    SetBrand(c.brand);
    const CpuFields& f = Identify();
    EXPECT_EQ(f.nameWithCodeName, c.named) << c.brand;
    EXPECT_EQ(f.process, c.process) << c.brand;
  }
}

TEST_F(NamingTodayFixture, AnUnknownAmdModelStillReadsItsPStates) {
  SetVendor("AuthenticAMD", 0x10);
  SetHighestExtended(0x80000008);
  SetLeaf(1, {0x00B70F00, 0, 0, 0});  // family 1Ah model 70h... taken by Strix Halo
  SetLeaf(0x80000001, {0x00B70F00, 0, 0, 0});
  SetBrand("AMD RYZEN AI MAX+ 395 w/ Radeon 8060S");
  EXPECT_EQ(Identify().nameWithCodeName, "RYZEN AI MAX+ 395 (Zen 5 Strix Halo)");

  SetLeaf(1, {0x00BF0F00, 0, 0, 0});  // family 1Ah model F0h: unknown
  SetLeaf(0x80000001, {0x00BF0F00, 0, 0, 0});
  SetBrand("AMD Ryzen 9 11950X 16-Core Processor");
  const CpuFields& f = Identify();
  EXPECT_EQ(f.nameWithCodeName, "Ryzen 9 11950X");
  EXPECT_EQ(f.multiplierMethod, kMethodAmdPStateRegisters);
}

TEST_F(NamingTodayFixture, HygonAndZhaoxinVendorStringsAreOfToday) {
  SetVendor("HygonGenuine", 0xD);
  SetHighestExtended(0x80000008);
  SetLeaf(1, {0x00900F01, 0, 0, 0});  // family 18h model 00h
  SetLeaf(0x80000001, {0x00900F01, 0, 0, 0});
  SetBrand("Hygon C86 3185  8-core Processor");
  const CpuFields& f = Identify();
  EXPECT_EQ(f.codeName, "Zen Dhyana");
  EXPECT_EQ(f.vendorPlusName, "Hygon " + f.name);
  EXPECT_EQ(f.multiplierMethod, kMethodAmdPStateRegisters);

  SetVendor("  Shanghai  ", 0xD);
  SetLeaf(1, {0x000307B2, 0, 0, 0});  // family 7 model 3Bh
  SetLeaf(0x80000001, {0, 0, 0, 0});
  SetBrand("ZHAOXIN KaiXian KX-U6780A@2.7GHz");
  const CpuFields& z = Identify();
  EXPECT_EQ(z.nameWithCodeName, "KaiXian KX-U6780A (LuJiaZui)");
  EXPECT_EQ(z.vendorPlusName, "Zhaoxin KaiXian KX-U6780A");
}

TEST_F(NamingTodayFixture, DesktopCore2ExtremesTakeTheDesktopSocket) {
  SetVendor("GenuineIntel", 0xD);
  SetHighestExtended(0x80000008);
  struct Case {
    uint32_t signature;
    const char* brand;
    const char* name;
    const char* platform;
  };
  // clang-format off
  const Case cases[] = {
      {0x00010676, "Intel(R) Core(TM)2 Extreme CPU X9650  @ 3.00GHz", "Core2 Extreme X9650 (Yorkfield)", "LGA775"},
      {0x00010676, "Intel(R) Core(TM)2 Extreme CPU X9770  @ 3.20GHz", "Core2 Extreme X9770 (Yorkfield)", "LGA775"},
      {0x00010676, "Intel(R) Core(TM)2 Extreme CPU X9775  @ 3.20GHz", "Core2 Extreme X9775 (Yorkfield)", "LGA771"},
      {0x00010676, "Intel(R) Core(TM)2 Extreme CPU Q9300  @ 2.53GHz", "Core2 Extreme Q9300 (Penryn)", "Socket P"},
      {0x00010676, "Intel(R) Core(TM)2 Extreme CPU X9100  @ 3.06GHz", "Core2 Extreme X9100 (Penryn)", "Socket P"},
      {0x00010677, "Intel(R) Core(TM)2 Quad  CPU   Q9650  @ 3.00GHz", "Core2 Quad Q9650 (Yorkfield)", "LGA775"},
      {0x000006FB, "Intel(R) Core(TM)2 Extreme CPU Q6850  @ 3.00GHz", "Core2 Extreme Q6850 (Kentsfield)", "LGA775"},
      {0x000006F7, "Intel(R) Core(TM)2 Extreme CPU X6800  @ 2.93GHz", "Core2 Extreme X6800 (Kentsfield)", "LGA775"},
      {0x000006FB, "Intel(R) Core(TM)2 Extreme CPU X7900  @ 2.80GHz", "Core2 Extreme X7900 (Merom)", ""},
      {0x000006F6, "Intel(R) Core(TM)2 CPU         X6800  @ 2.93GHz", "Core2 X6800 (Conroe)", "LGA775"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SetLeaf(1, {c.signature, 0, 0, 0});
    SetBrand(c.brand);
    const CpuFields& f = Identify();
    EXPECT_EQ(f.nameWithCodeName, c.name) << c.brand;
    EXPECT_EQ(f.platform, c.platform) << c.brand;
  }
}

TEST_F(NamingTodayFixture, CentaursC7StaysClassicAndItsNanoDoesNot) {
  SetVendor("CentaurHauls", 1);
  SetLeaf(1, {0x000006A9, 0, 0, 0});  // C7 Esther
  EXPECT_FALSE(IsProcessorOfToday(Identify()));
  SetLeaf(1, {0x000006D0, 0, 0, 0});  // C7-D
  EXPECT_FALSE(IsProcessorOfToday(Identify()));
  SetLeaf(1, {0x000006F2, 0, 0, 0});  // Nano
  EXPECT_TRUE(IsProcessorOfToday(Identify()));
  EXPECT_EQ(Text(0x1004), "VIA");
}

TEST_F(NamingTodayFixture, TheMultiplierMethodFollowsThePlatformInfoRegister) {
  SetVendor("GenuineIntel", 0xD);
  SetLeaf(1, {0x000006FB, 0, 0, 0});  // Core 2: no platform-info register
  EXPECT_EQ(Identify().multiplierMethod, 0);
  SetLeaf(1, {0x000106A5, 0, 0, 0});  // Nehalem
  EXPECT_EQ(Identify().multiplierMethod, kMethodIntelRatioRegisters);
  SetLeaf(1, {0x00030678, 0, 0, 0});  // Silvermont: bus not 100 MHz
  EXPECT_EQ(Identify().multiplierMethod, 0);
  SetLeaf(1, {0x000506C9, 0, 0, 0});  // Goldmont
  EXPECT_EQ(Identify().multiplierMethod, kMethodIntelRatioRegisters);
}

}  // namespace
}  // namespace velora
