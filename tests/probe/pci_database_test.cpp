#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "probe/pci/pci_database_line.h"
#include "probe/pci/pci_name_database.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

TEST(PciDatabaseLine, SkipsCommentAndIndentedLines) {
  EXPECT_TRUE(IsSkippedDatabaseLine("; comment"));
  EXPECT_TRUE(IsSkippedDatabaseLine("\r\n"));
  EXPECT_TRUE(IsSkippedDatabaseLine("\n"));
  EXPECT_TRUE(IsSkippedDatabaseLine("\t8086,Intel"));
  EXPECT_FALSE(IsSkippedDatabaseLine(" 8086,Intel"));
  EXPECT_FALSE(IsSkippedDatabaseLine("8086,Intel\n"));
}

TEST(PciDatabaseLine, RunsOfSeparatorsCollapse) {
  auto f = SplitDatabaseFields("80861237,,\t00\t,Intel 440FX PMC\n");
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0], "80861237");
  EXPECT_EQ(f[1], "00");
  // Blanks belong to the name; only commas, tabs and line feeds separate.
  EXPECT_EQ(f[2], "Intel 440FX PMC");
  EXPECT_TRUE(SplitDatabaseFields(",,\t\n").empty());
}

TEST(PciDatabaseLine, NamesDecodeTheirEscapedCommasAndPercentSigns) {
  struct Case {
    const char* field;
    const char* name;
  } cases[] = {
      {"Red Hat%2C Inc.", "Red Hat, Inc."},
      {"Realtek Semiconductor Co.%2C Ltd.", "Realtek Semiconductor Co., Ltd."},
      {"a%2cb", "a,b"},
      {"100%25 %2C", "100% ,"},
      {"%252C", "%2C"},  // an escaped percent sign does not start another escape
      {"50% off", "50% off"},
      {"tail %2", "tail %2"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeDatabaseName(c.field), c.name) << c.field;
  std::string name;
  ASSERT_TRUE(MatchVendorLine("1AF4,Red Hat%2C Inc.\n", "1AF4", name));
  EXPECT_EQ(name, "Red Hat, Inc.");
}

TEST(PciDatabaseLine, ShippedDataKeepsTheCommasOfVendorNames) {
  PciNameDatabase db(VELORA_BIN_DIR);
  std::string name;
  ASSERT_TRUE(db.VendorName(0x1AF4, name));
  EXPECT_EQ(name, "Red Hat, Inc.");
  ASSERT_TRUE(db.VendorName(0x10EC, name));
  EXPECT_EQ(name, "Realtek Semiconductor Co., Ltd.");
}

TEST(PciDatabaseLine, KeysAreUpperCaseHex) {
  EXPECT_EQ(VendorKey(0x10de), "10DE");
  EXPECT_EQ(DeviceKey(0x8086, 0x7a), "8086007A");
  EXPECT_EQ(RevisionKey(0xa), "0A");
  EXPECT_EQ(ClassKey(0x10185), "010185");
}

TEST(PciDatabaseLine, ExactKeysIgnoreCaseWildcardsKeepIt) {
  EXPECT_TRUE(ExactKeyMatches("10de0050", "10DE0050"));
  EXPECT_FALSE(ExactKeyMatches("10DE005", "10DE0050"));
  EXPECT_TRUE(WildcardKeyMatches("10DE005X", "10DE0057", kDeviceWildcardAt));
  EXPECT_FALSE(WildcardKeyMatches("10de005X", "10DE0057", kDeviceWildcardAt));
  EXPECT_FALSE(WildcardKeyMatches("10DE006X", "10DE0057", kDeviceWildcardAt));
  // Only an upper-case X in the wildcard position makes a wildcard.
  EXPECT_FALSE(IsWildcardKey("10DE005x", kDeviceWildcardAt));
  EXPECT_TRUE(IsWildcardKey("0C03X", kClassWildcardAt));
}

TEST(PciDatabaseLine, RevisionComparesAsText) {
  EXPECT_TRUE(RevisionAtLeast("02", "02"));
  EXPECT_TRUE(RevisionAtLeast("0a", "0A"));
  EXPECT_TRUE(RevisionAtLeast("A0", "9F"));
  EXPECT_FALSE(RevisionAtLeast("01", "02"));
  EXPECT_TRUE(RevisionAtLeast("01", "00"));
}

TEST(PciDatabaseLine, ChipLinesWildcardIgnoresRevisionExactNeedsIt) {
  std::string name;
  ChipQuery rev01{"80861A30", "01"};
  EXPECT_TRUE(MatchChipLine("80861A3X,FF,Intel 845 family\n", rev01, name));
  EXPECT_EQ(name, "Intel 845 family");
  EXPECT_FALSE(MatchChipLine("80861A30,02,Intel 82845\n", rev01, name));
  EXPECT_TRUE(MatchChipLine("80861A30,00,Intel 82845\n", rev01, name));
  EXPECT_EQ(name, "Intel 82845");
  // Too few fields: skipped, never a match.
  EXPECT_FALSE(MatchChipLine("80861A30,Intel 82845\n", rev01, name));
}

TEST(PciDatabaseLine, ChipsetLines) {
  std::string name;
  ChipQuery north{"80862570", "02"};
  ChipQuery ich5{"808624D0", "02"};
  ChipQuery other{"10DE0050", "00"};
  // Wildcard north key: the rest of the line is not looked at.
  EXPECT_TRUE(MatchChipsetLine("8086257X,FF,FFFFFFFF,FF,Intel 865 family\n", north, other, name));
  EXPECT_EQ(name, "Intel 865 family");
  // South key beginning with X: any south bridge, but the north revision still counts.
  EXPECT_TRUE(MatchChipsetLine("80862570,02,X,00,Intel 865PE\n", north, other, name));
  EXPECT_FALSE(MatchChipsetLine("80862570,03,X,00,Intel 865PE\n", north, other, name));
  // Exact south key with its revision.
  EXPECT_TRUE(MatchChipsetLine("80862570,00,808624D0,02,Intel 865PE + ICH5\n", north, ich5, name));
  EXPECT_FALSE(MatchChipsetLine("80862570,00,808624D0,03,Intel 865PE + ICH5\n", north, ich5, name));
  EXPECT_FALSE(MatchChipsetLine("80862570,00,808624D0,00,Intel 865PE + ICH5\n", north, other, name));
  // A wildcard south key still needs the south revision.
  EXPECT_FALSE(MatchChipsetLine("80862570,00,808624DX,FF,Intel 865 + ICH5 family\n", north, ich5,
                                name));
  EXPECT_TRUE(MatchChipsetLine("80862570,00,808624DX,01,Intel 865 + ICH5 family\n", north, ich5,
                               name));
  EXPECT_EQ(name, "Intel 865 + ICH5 family");
  EXPECT_FALSE(MatchChipsetLine("80862570,00,X,00\n", north, other, name));
}

TEST(PciDatabaseLine, ClassLines) {
  std::string name;
  EXPECT_TRUE(MatchClassLine("0C03XX,USB controller\n", "0C0330", name));
  EXPECT_EQ(name, "USB controller");
  EXPECT_TRUE(MatchClassLine("0c0330,USB controller (XHCI)\n", "0C0330", name));
  EXPECT_FALSE(MatchClassLine("0C0320,USB controller (EHCI)\n", "0C0330", name));
  EXPECT_FALSE(MatchClassLine("0C04XX,Fibre Channel\n", "0C0330", name));
}

// A data folder of files written by the test.
class PciNameDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velora-pcidb-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    program = root / "bin";
    fs::create_directories(program / "data");
  }
  void TearDown() override { fs::remove_all(root); }
  void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  fs::path root, program;
};

TEST_F(PciNameDatabaseTest, DataFolderFirstThenProgramFolderThenInstalledLayout) {
  PciNameDatabase db(program.string());
  std::string name;
  EXPECT_FALSE(db.VendorName(0x8086, name));
  EXPECT_EQ(db.Locate(kVendorDatabase), "");

  Write(root / "share/velora09/data/vendor.pci", "8086,Installed Intel\n");
  EXPECT_TRUE(db.VendorName(0x8086, name));
  EXPECT_EQ(name, "Installed Intel");
  Write(program / "vendor.pci", "8086,Beside Intel\n");
  EXPECT_TRUE(db.VendorName(0x8086, name));
  EXPECT_EQ(name, "Beside Intel");
  Write(program / "data/vendor.pci", "8086,Data Intel\n");
  EXPECT_TRUE(db.VendorName(0x8086, name));
  EXPECT_EQ(name, "Data Intel");
}

TEST_F(PciNameDatabaseTest, FirstMatchingLineWinsAndMalformedLinesAreSkipped) {
  Write(program / "data/pci.db",
        "; header\n"
        "\t80867000,indented lines are skipped\n"
        "80867000\n"  // too few fields
        "80867000,PIIX3 ISA\n"
        "80867000,a later line\n");
  PciNameDatabase db(program.string());
  std::string name = "before";
  EXPECT_TRUE(db.DeviceName(0x8086, 0x7000, name));
  EXPECT_EQ(name, "PIIX3 ISA");
  name = "kept";
  EXPECT_FALSE(db.DeviceName(0x8086, 0x7001, name));
  EXPECT_EQ(name, "kept");
}

TEST_F(PciNameDatabaseTest, LongLinesAreReadIn1024ByteParts) {
  // The tail of an over-long line is read as a line of its own, and may match.
  std::string filler(1100, 'a');
  Write(program / "data/vendor.pci", "1234," + filler.substr(0, 1018) + "1AF4,Tail vendor\n");
  PciNameDatabase db(program.string());
  std::string name;
  EXPECT_TRUE(db.VendorName(0x1234, name));
  EXPECT_EQ(name.size(), 1023u - 5u);
  EXPECT_TRUE(db.VendorName(0x1AF4, name));
  EXPECT_EQ(name, "Tail vendor");
}

TEST(CutToCapacity, NeverSplitsACharacter) {
  std::string text = "Soci\xC3\xA9t\xC3\xA9";  // "Société"
  CutToCapacity(text, 5);
  EXPECT_EQ(text, "Soci");
  text = "abc";
  CutToCapacity(text, 63);
  EXPECT_EQ(text, "abc");
}

}  // namespace
}  // namespace velora
