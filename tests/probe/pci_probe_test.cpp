#include "probe/pci/pci_probe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "probe/pci/pci_chipset_prepare.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

// A fake bus with database files of the test's own.
class PciProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velora-pciprobe-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    fs::create_directories(folder / "data");
    t.env.programFolder = folder.string();
    Write("vendor.pci", "8086,Intel\n10DE,NVIDIA\n1039,SiS\n1AF4,Red Hat\n");
    Write("class.pci", "0600XX,Host bridge\n0601XX,ISA bridge\n010180,IDE (bus master)\n");
    Write("pci.db", "80861237,440FX PMC\n80867000,PIIX3 ISA\n");
  }
  void TearDown() override { fs::remove_all(folder); }
  void Write(const std::string& file, const std::string& text) {
    std::ofstream(folder / "data" / file) << text;
  }
  std::string Text(PciProbe& p, uint32_t id) {
    std::string text = "x";
    EXPECT_EQ(p.GetString(id, text), 0) << std::hex << id;
    return text;
  }
  int32_t Int(PciProbe& p, uint32_t id) {
    int32_t value = -7;
    EXPECT_EQ(p.GetInt(id, value), 0) << std::hex << id;
    return value;
  }
  void Add440fx() {
    t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x8086, 0x1237, 0x060000, 0, 0x02);
    t.driver.AddFunction(MakePciAddress(0, 1, 0), 0x8086, 0x7000, 0x060100, 0x80);
    t.driver.AddFunction(MakePciAddress(0, 1, 1), 0x8086, 0x7010, 0x010180);
  }

  TestProbeEnvironment t;
  fs::path folder;
};

TEST_F(PciProbeTest, IdentifiesAndNamesTheThreeChips) {
  Add440fx();
  t.driver.AddFunction(MakePciAddress(1, 0, 0), 0x10DE, 0x0110, 0x030000, 0, 0xA1);
  auto& video = t.driver.pciConfig[MakePciAddress(1, 0, 0)];
  // Subsystem 1043:4015 at 0x2C: vendor low half, id high half.
  video[0x2C] = 0x43; video[0x2D] = 0x10; video[0x2E] = 0x15; video[0x2F] = 0x40;
  Write("chip.pci", "80861237,00,Intel 440FX\n8086700X,FF,Intel PIIX3\n");
  Write("video.pci", "10DE0110,A0,NVIDIA GeForce2 MX\n");
  Write("chipset.pci", "80861237,02,X,00,Intel 440FX\n");

  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2003), "Intel 440FX");
  EXPECT_EQ(Text(p, 0x2007), "Intel PIIX3");
  EXPECT_EQ(Text(p, 0x200B), "NVIDIA GeForce2 MX");
  EXPECT_EQ(Text(p, 0x2001), "Intel 440FX");
  EXPECT_EQ(Int(p, 0x2010), 0);
  EXPECT_EQ(Int(p, 0x2020), 0x8086);
  EXPECT_EQ(Int(p, 0x2021), 0x1237);
  EXPECT_EQ(Int(p, 0x2022), 2);
  EXPECT_EQ(Int(p, 0x2024), static_cast<int32_t>(0x80861237));
  EXPECT_EQ(Int(p, 0x2034), static_cast<int32_t>(0x80867000));
  EXPECT_EQ(Int(p, 0x2042), 0xA1);
  EXPECT_EQ(Int(p, 0x2043), 0x10434015);
  for (uint32_t reserved : {0x2002u, 0x2004u, 0x2005u, 0x2006u, 0x2008u, 0x2009u, 0x200Au,
                            0x200Cu, 0x200Du}) {
    EXPECT_EQ(Text(p, reserved), "");
  }
}

TEST_F(PciProbeTest, VendorFallbackAndMissingNames) {
  Add440fx();
  // No chip.pci, video.pci or chipset.pci anywhere; no video chip at all.
  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2003), "Intel Unknown");
  EXPECT_EQ(Text(p, 0x2007), "Intel Unknown");
  EXPECT_EQ(Text(p, 0x200B), "");  // vendor 0: nothing found
  EXPECT_EQ(Text(p, 0x2001), "Intel Unknown");
  EXPECT_EQ(Int(p, 0x2010), 4);
  EXPECT_EQ(Int(p, 0x2040), 0);
}

TEST_F(PciProbeTest, UnlistedVendorIsUnknown) {
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x1106, 0x0305, 0x060000);
  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2003), "Unknown");
  EXPECT_EQ(Text(p, 0x2001), "Unknown");
}

TEST_F(PciProbeTest, SouthBridgeSearchOrder) {
  // An IDE controller with interface 0x8A is taken only when no ISA bridge exists.
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x8086, 0x1237, 0x060000);
  t.driver.AddFunction(MakePciAddress(0, 2, 0), 0x8086, 0x24CB, 0x01018A);
  t.driver.AddFunction(MakePciAddress(0, 3, 0), 0x8086, 0x2480, 0x060200);
  {
    PciProbe p(t.env);
    EXPECT_EQ(Int(p, 0x2031), 0x24CB);
  }
  t.driver.AddFunction(MakePciAddress(0, 4, 0), 0x8086, 0x7110, 0x060100);
  PciProbe p(t.env);
  EXPECT_EQ(Int(p, 0x2031), 0x7110);
}

TEST_F(PciProbeTest, NforceSouthBridgeTakesTheMemoryControllerAsNorth) {
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x10DE, 0x005E, 0x058000);
  t.driver.AddFunction(MakePciAddress(0, 1, 0), 0x10DE, 0x0050, 0x060100);
  t.driver.AddFunction(MakePciAddress(0, 2, 0), 0x10DE, 0x00E1, 0x060000);
  PciProbe p(t.env);
  EXPECT_EQ(Int(p, 0x2024), 0x10DE005E);
  EXPECT_EQ(RecordedNorthBridgePair(), 0x10DE005Eu);
}

TEST_F(PciProbeTest, SpecialCasesOverrideTheDatabases) {
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x8086, 0x1A30, 0x060000, 0, 0x04);
  t.driver.AddFunction(MakePciAddress(0, 31, 0), 0x8086, 0x248C, 0x060100);
  Write("chip.pci", "80861A30,00,from the database\n");
  {
    PciProbe p(t.env);
    EXPECT_EQ(Text(p, 0x2003), "Intel 82845MP");
    // Special cases do not touch the missing-name count: south, video, chipset.
    EXPECT_EQ(Int(p, 0x2010), 3);
  }
  t.driver.pciConfig[MakePciAddress(0, 0, 0)][8] = 0x0B;  // revision 11: outside 4 to 10
  {
    PciProbe p(t.env);
    EXPECT_EQ(Text(p, 0x2003), "from the database");
  }
  t.driver.pciConfig[MakePciAddress(0, 0, 0)][8] = 0x0A;
  t.driver.pciConfig[MakePciAddress(0, 31, 0)][2] = 0xC0;  // south 8086:24C0
  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2003), "Intel 82845D");
}

TEST_F(PciProbeTest, SisSouthBridgeDependsOnTheNorthBridge) {
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x1039, 0x0648, 0x060000);
  t.driver.AddFunction(MakePciAddress(0, 2, 0), 0x1039, 0x0008, 0x060100);
  {
    PciProbe p(t.env);
    EXPECT_EQ(Text(p, 0x2007), "SiS 963");
  }
  t.driver.pciConfig[MakePciAddress(0, 0, 0)][2] = 0x45;  // 1039:0645
  {
    PciProbe p(t.env);
    EXPECT_EQ(Text(p, 0x2007), "SiS 961");
  }
  t.driver.pciConfig[MakePciAddress(0, 0, 0)][2] = 0x35;  // 1039:0635, any south
  t.driver.pciConfig[MakePciAddress(0, 2, 0)][2] = 0x18;
  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2007), "SiS 635");
}

TEST_F(PciProbeTest, Montara) {
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x8086, 0x3580, 0x060000);
  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2001), "Intel 852GM (Montara-GML)");
  EXPECT_EQ(Text(p, 0x2003), "Intel 82852GM");
}

TEST_F(PciProbeTest, TableHoldsTheScannedFunctions) {
  Add440fx();
  auto& isa = t.driver.pciConfig[MakePciAddress(0, 1, 0)];
  isa[0x2C] = 0xF4; isa[0x2D] = 0x1A; isa[0x2E] = 0x00; isa[0x2F] = 0x11;  // 1AF4:1100
  // Vendor 0 is not stored; neither is function 1 of a single-function device.
  t.driver.AddFunction(MakePciAddress(0, 2, 0), 0x0000, 0x1234, 0x020000);
  t.driver.AddFunction(MakePciAddress(0, 3, 0), 0x1AF4, 0x1000, 0x020000);
  t.driver.AddFunction(MakePciAddress(0, 3, 1), 0x1AF4, 0x1001, 0x010000);
  PciProbe p(t.env);
  ASSERT_EQ(Int(p, 0x5001), 4);
  EXPECT_EQ(Int(p, 0x5101), 0x8086);
  EXPECT_EQ(Int(p, 0x5201), 0x7000);
  EXPECT_EQ(Int(p, 0x5401), 0x1AF41100);
  EXPECT_EQ(Int(p, 0x5502), 0x010180);
  EXPECT_EQ(Int(p, 0x5702), 0);
  EXPECT_EQ(Int(p, 0x5802), 1);
  EXPECT_EQ(Int(p, 0x5902), 1);
  EXPECT_EQ(Int(p, 0x5803), 3);
  EXPECT_EQ(Text(p, 0x5600), "Host bridge");
  EXPECT_EQ(Text(p, 0x5602), "IDE (bus master)");
  EXPECT_EQ(Text(p, 0x5603), "");  // no class line
  EXPECT_EQ(Text(p, 0x5A03), "Red Hat");
  EXPECT_EQ(Text(p, 0x5B00), "440FX PMC");
  EXPECT_EQ(Text(p, 0x5B02), "Unknown");
  EXPECT_EQ(Text(p, 0x5C00), "");  // subsystem vendor 0
  EXPECT_EQ(Text(p, 0x5C01), "Red Hat");
  // Entries beyond the count answer 0 and the empty text, up to entry 127.
  EXPECT_EQ(Int(p, 0x5104), 0);
  EXPECT_EQ(Int(p, 0x517F), 0);
  EXPECT_EQ(Text(p, 0x5B7F), "");
  int32_t value = 0;
  EXPECT_EQ(p.GetInt(0x5180, value), -1);
  EXPECT_EQ(value, -1);
  std::string text = "x";
  EXPECT_EQ(p.GetString(0x5101, text), -1);
  EXPECT_EQ(text, "");
  EXPECT_EQ(p.GetInt(0x2001, value), -1);
}

TEST_F(PciProbeTest, FailedHeaderTypeReadCountsAsMultiFunction) {
  // Function 0 answers its id but not its header type (a read error that is not "absent").
  t.driver.pciConfig[MakePciAddress(0, 4, 0)] = {0x86, 0x80, 0x00, 0x12, 0, 0, 0, 0, 0x01, 0, 0, 0x06};
  t.driver.AddFunction(MakePciAddress(0, 4, 5), 0x8086, 0x1205, 0x060000);
  PciProbe p(t.env);
  ASSERT_EQ(Int(p, 0x5001), 2);
  EXPECT_EQ(Int(p, 0x5900), 0);
  EXPECT_EQ(Int(p, 0x5901), 5);
  // Its subsystem dword lies past the bytes it answers: the failure value, halves swapped.
  EXPECT_EQ(Int(p, 0x5400), -1);
}

TEST_F(PciProbeTest, FullBusStopsAt128Entries) {
  for (uint32_t n = 0; n < 140; ++n) {
    t.driver.AddFunction(MakePciAddress(n / 32, n % 32, 0), 0x1AF4, 0x1000 + n, 0x020000);
  }
  PciProbe p(t.env);
  EXPECT_EQ(Int(p, 0x5001), 128);
  EXPECT_EQ(Int(p, 0x527F), 0x1000 + 127);
}

TEST_F(PciProbeTest, NothingWhenTheDriverIsNotOpen) {
  Add440fx();
  t.driver.status = kDriverNoDevice;
  PciProbe p(t.env);
  EXPECT_EQ(t.driver.pciReads, 0);
  EXPECT_EQ(Int(p, 0x5001), 0);
  EXPECT_EQ(Int(p, 0x2010), 0);
  EXPECT_EQ(Int(p, 0x2024), 0);
  EXPECT_EQ(Text(p, 0x2003), "");
  EXPECT_EQ(Text(p, 0x2001), "");
}

TEST_F(PciProbeTest, LongNamesAreCutToTheirFields) {
  Add440fx();
  Write("chip.pci", "80861237,00," + std::string(200, 'N') + "\n");
  Write("pci.db", "80861237," + std::string(100, 'D') + "\n");
  Write("chipset.pci", "80861237,00,X,00," + std::string(100, 'C') + "\n");
  PciProbe p(t.env);
  EXPECT_EQ(Text(p, 0x2003), std::string(128, 'N'));
  EXPECT_EQ(Text(p, 0x2001), std::string(64, 'C'));
  EXPECT_EQ(Text(p, 0x5B00), std::string(63, 'D'));
}

class ChipsetPrepareTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearChipsetPreparedFlags(); }
  void TearDown() override { ClearChipsetPreparedFlags(); }
  TestProbeEnvironment t;
};

TEST_F(ChipsetPrepareTest, K7SetsTheBitsOfTheNorthBridgeOnce) {
  // nForce2: two bytes beyond the first 64, so the fake holds 256 bytes.
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x10DE, 0x01E0, 0x060000);
  auto& config = t.driver.pciConfig[MakePciAddress(0, 0, 0)];
  config.resize(256, 0);
  config[0xF6] = 0x01;
  config[0xE7] = 0x10;  // already set: not written
  PciProbe p(t.env);
  p.PrepareChipsetK7();
  EXPECT_EQ(config[0xF6], 0x11);
  EXPECT_EQ(config[0xE7], 0x10);
  config[0xF6] = 0x00;
  p.PrepareChipsetK7();  // prepared already
  EXPECT_EQ(config[0xF6], 0x00);
  ClearChipsetPreparedFlags();
  p.PrepareChipsetK7();
  EXPECT_EQ(config[0xF6], 0x10);
}

TEST_F(ChipsetPrepareTest, K7LeavesOtherNorthBridgesAlone) {
  t.driver.AddFunction(MakePciAddress(0, 0, 0), 0x8086, 0x1237, 0x060000);
  auto before = t.driver.pciConfig;
  PciProbe p(t.env);
  p.PrepareChipsetK7();
  EXPECT_EQ(t.driver.pciConfig, before);
}

TEST_F(ChipsetPrepareTest, K8SetsBit2OfByte82OfTheK8Function) {
  t.driver.AddFunction(MakePciAddress(0, 24, 3), 0x1022, 0x1103, 0x060000);
  t.driver.AddFunction(MakePciAddress(0, 24, 0), 0x1022, 0x1100, 0x060000, 0x80);
  auto& config = t.driver.pciConfig[MakePciAddress(0, 24, 3)];
  config.resize(256, 0);
  config[0x82] = 0x41;
  PciProbe p(t.env);
  p.PrepareChipsetK8();
  EXPECT_EQ(config[0x82], 0x45);
}

}  // namespace
}  // namespace velora
