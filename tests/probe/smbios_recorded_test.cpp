// The SMBIOS reader over tables recorded on real machines. Expected fields were read from
// each table's bytes (structure offsets and string numbers) with a separate decoder, not
// taken from this code's output.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "probe/smbios/smbios_probe.h"
#include "probe/smbios/smbios_table.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

const std::string kSmbiosData = std::string(VELORA_TESTDATA) + "/smbios/";

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The ids of the texts, in the order of the expected fields.
constexpr uint32_t kIds[] = {0x6100, 0x6101, 0x6102, 0x6103, 0x6200, 0x6201, 0x6202,
                             0x6300, 0x6301, 0x6302, 0x6303, 0x6304, 0x6305};

struct RecordedTable {
  const char* path;  // under smbios/: a sysfs pair folder or an entry point + table file
  const char* version;
  std::array<const char*, 13> texts;  // BIOS, board, then the last processor structure
};

void PrintTo(const RecordedTable& t, std::ostream* os) { *os << t.path; }

// Lays out an entry point + table file as firmware does: the entry point in the segment
// at 0xF0000, the table at the address the entry point gives.
void LoadIntoMemory(const std::vector<uint8_t>& file, FakeDriverLink& link) {
  link.memoryBase = 0;
  link.memory.assign(0x100000, 0);
  uint64_t address = 0;
  if (std::memcmp(file.data(), "_SM3_", 5) == 0) {
    for (int i = 7; i >= 0; --i) address = address << 8 | file[0x10 + i];
  } else {
    for (int i = 3; i >= 0; --i) address = address << 8 | file[0x18 + i];
  }
  ASSERT_LT(address + file.size() - 0x20, link.memory.size());
  std::copy(file.begin(), file.begin() + 0x20, link.memory.begin() + 0xF05A0);
  std::copy(file.begin() + 0x20, file.end(), link.memory.begin() + static_cast<long>(address));
}

class SmbiosRecordedTest : public ::testing::TestWithParam<RecordedTable> {};

TEST_P(SmbiosRecordedTest, DecodesBiosBoardAndProcessor) {
  const RecordedTable& r = GetParam();
  TestProbeEnvironment t;
  std::string path = kSmbiosData + r.path;
  if (std::string(r.path).rfind("sysfs-pair/", 0) == 0) {
    // Physical memory is closed, as for an ordinary user; the sysfs files stand in.
    t.env.firmwareTablesFolder = path;
  } else {
    LoadIntoMemory(ReadAll(path), t.driver);
  }
  SmbiosProbe p(t.env);
  int32_t found = -1;
  EXPECT_EQ(p.GetInt(0x6001, found), 0);
  EXPECT_EQ(found, 1);
  std::string text;
  EXPECT_EQ(p.GetString(0x6002, text), 0);
  EXPECT_EQ(text, r.version);
  for (size_t i = 0; i < std::size(kIds); ++i) {
    EXPECT_EQ(p.GetString(kIds[i], text), 0);
    EXPECT_EQ(text, r.texts[i]) << std::hex << "id 0x" << kIds[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Machines, SmbiosRecordedTest, ::testing::Values(
    RecordedTable{"sysfs-pair/dell_precision-t7600", "2.6", {"Dell Inc.", "T51", "04/06/2012", "10240", "Dell Inc.", "      ", "   ", "CPU 2", "Intel            ", "Genuine Intel(R) CPU @ 3.10GH                  ", "0", "100", "4000"}},
    RecordedTable{"sysfs-pair/dell_xps13-9365", "3.0", {"Dell Inc.", "1.0.21", "12/05/2017", "12288", "Dell Inc.", "0DVT6M", "A00", "CPU 1", "Intel(R) Corporation", "Intel(R) Core(TM) i7-7Y75 CPU @ 1.30GHz", "1200", "100", "8300"}},
    RecordedTable{"ep-plus-table/dell_PE8450.smbios.dat", "2.1", {"Cirrus Logic, Inc", "1.35", "05/29/1998", "128", "Intel", "OCPRF100", "Fab 2.0", "Right Processor 4", "Intel Corporation", "", "0", "0", "0"}},
    RecordedTable{"ep-plus-table/dell_dimension_4400.smbios.dat", "2.3", {"Intel Corp.", "A05", "03/14/2002", "512", "Intel Corporation              ", "D845PT                         ", "AAA67829-400           ", "J1E1", "Intel Corporation", "Pentium(R) 4                 ", "1700", "100", "2000"}},
    RecordedTable{"ep-plus-table/dell_PE1300.smbios.dat", "2.2", {"Dell Computer Corporation", "A05", "07/09/1999", "512", "", "", "", "Microprocessor", "Intel", "", "0", "100", "600"}},
    RecordedTable{"ep-plus-table/uroot_Gigabyte-GA-MA74GMT-S2.dumpbin.bin", "2.4", {"Award Software International, Inc.", "F8", "08/03/2010", "1024", "Gigabyte Technology Co., Ltd.", "GA-MA74GMT-S2", "x.x", "Socket M2", "AMD", "AMD Athlon(tm) II X2 240 Processor", "2800", "200", "3200"}},
    RecordedTable{"ep-plus-table/uroot_Lenovo-ThinkPad-T480.dumpbin.bin", "3.0", {"LENOVO", "N22ET52W (1.29 )", "01/16/2019", "16384", "LENOVO", "20L8S07A14", "SDK0J40697 WIN", "U3E1", "Intel(R) Corporation", "Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz", "1900", "100", "2100"}},
    RecordedTable{"ep-plus-table/uroot_MSI-MS-7816.dumpbin.bin", "2.8", {"American Megatrends Inc.", "V2.14B14", "07/13/2018", "16384", "MSI", "H87-G43 (MS-7816)", "1.0", "SOCKET 0", "Intel", "Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz", "3400", "100", "3800"}},
    RecordedTable{"ep-plus-table/uroot_SuperMicro-X9DBL.dumpbin.bin", "2.7", {"American Megatrends Inc.", "3.00", "12/06/2013", "4096", "Supermicro", "X9DBL-3F/X9DBL-iF", "0123456789", "SOCKET 1", "Intel", "Intel(R) Xeon(R) CPU E5-2403 v2 @ 1.80GHz", "1800", "100", "4000"}},
    RecordedTable{"ep-plus-table/uroot_VMWare.dumpbin.bin", "2.7", {"Phoenix Technologies LTD", "6.00", "05/19/2017", "64", "Intel Corporation", "440BX Desktop Reference Platform", "None", "CPU #127", "GenuineIntel", "Intel(R) Core(TM) i7-5500U CPU @ 2.40GHz", "2400", "0", "30000"}},
    RecordedTable{"ep-plus-table/siderolabs_Beelink-EQ12.ep-plus-table.bin", "3.5", {"American Megatrends International, LLC.", "N95V106", "12/15/2023", "16384", "AZW", "EQ", "Default string", "U3E1", "Intel(R) Corporation", "Intel(R) N100", "2871", "100", "3400"}},
    RecordedTable{"ep-plus-table/uroot_smbios_table.dumpbin.bin", "3.1", {"LENOVO", "N2IET92W (1.70 )", "09/21/2020", "16384", "LENOVO", "20N2CTO1WW", "SDK0R32862 WIN", "U3E1", "Intel(R) Corporation", "Intel(R) Core(TM) i7-8565U CPU @ 1.80GHz", "1800", "100", "2000"}},
    RecordedTable{"ep-plus-table/dell_Precision_390.smbios.dat", "2.3", {"Dell Inc.                ", "2.5.0 ", "11/14/2007", "1024", "Dell Inc.          ", "0GH911", "   ", "Microprocessor", "Intel", "", "2666", "1066", "5200"}},
    RecordedTable{"ep-plus-table/uroot_Lenovo-ThinkPad-W510.dumpbin.bin", "2.6", {"LENOVO", "6NET84WW (1.45 )", "10/03/2012", "8192", "LENOVO", "431924G", "Not Available", "None", "GenuineIntel", "Intel(R) Core(TM) i7 CPU       Q 720  @ 1.60GHz", "1600", "133", "1600"}}
));

struct TableOnly {
  const char* path;
  size_t skip;  // header bytes before the table
  uint32_t structures;
  const char* biosVendor;
  const char* boardProduct;
  const char* processorVersion;
};

void PrintTo(const TableOnly& t, std::ostream* os) { *os << t.path; }

class SmbiosTableOnlyTest : public ::testing::TestWithParam<TableOnly> {};

TEST_P(SmbiosTableOnlyTest, WalksToTheEndOfTheTable) {
  const TableOnly& r = GetParam();
  std::vector<uint8_t> bytes = ReadAll(kSmbiosData + r.path);
  ASSERT_GT(bytes.size(), r.skip);
  SmbiosTexts texts;
  EXPECT_EQ(DecodeSmbiosTable(bytes.data() + r.skip, bytes.size() - r.skip, {0, true}, texts),
            r.structures);
  EXPECT_EQ(texts[kBiosVendor], r.biosVendor);
  EXPECT_EQ(texts[kBoardProduct], r.boardProduct);
  EXPECT_EQ(texts[kProcessorVersion], r.processorVersion);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SmbiosTableOnlyTest,
    ::testing::Values(
        TableOnly{"table-only/siderolabs_ASRock-Single-Ryzen.dmi", 0, 28,
                  "American Megatrends International, LLC.", "X570D4U",
                  "AMD Ryzen 9 5900X 12-Core Processor            "},
        TableOnly{"table-only/siderolabs_Dell-PowerEdge-R630-Dual-Xeon.dmi", 0, 72, "Dell Inc.",
                  "02C2CP", ""},
        TableOnly{"table-only/siderolabs_SuperMicro-Dual-Xeon.dmi", 0, 149,
                  "American Megatrends Inc.", "X9DRW",
                  "Intel(R) Xeon(R) CPU E5-2650 v2 @ 2.60GHz"},
        TableOnly{"windows-rawsmbiosdata/jrgerber_jeffgerlap_3_2_0.win-rawsmbios.dat", 8, 20,
                  "Microsoft Corporation", "Surface Laptop 3",
                  "AMD Ryzen 7 Microsoft Surface (R) Edition"},
        // Broken for real: a type 0 structure of length 0 after five good ones ends the walk.
        TableOnly{"table-only/siderolabs_HyperV.dmi", 0, 5, "American Megatrends Inc.",
                  "Virtual Machine", ""}));

}  // namespace
}  // namespace velora
