// The PCI scan over configuration spaces recorded on real machines, named from the shipped
// databases (copied beside the test binary). Expected names are the pci.ids names of the
// ids in each dump's headers, with our short vendor names in front.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "probe/pci/pci_probe.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

struct RecordedMachine {
  const char* file;
  int functions;  // of domain 0, at most 128
  uint32_t northPair;
  uint32_t southPair;
  uint32_t videoPair;
  const char* north;
  const char* south;
  const char* video;
  const char* chipset;
  int missing;
};

void PrintTo(const RecordedMachine& m, std::ostream* os) { *os << m.file; }

class PciRecordedTest : public ::testing::TestWithParam<RecordedMachine> {};

TEST_P(PciRecordedTest, NamesTheChipsAndFillsTheTable) {
  const RecordedMachine& m = GetParam();
  TestProbeEnvironment t;
  ASSERT_GT(t.driver.LoadLspciDump(std::string(VELORA_TESTDATA) + "/pci-config/" + m.file), 0);
  t.env.programFolder = VELORA_BIN_DIR;
  PciProbe p(t.env);

  auto text = [&](uint32_t id) {
    std::string s;
    EXPECT_EQ(p.GetString(id, s), 0);
    return s;
  };
  auto integer = [&](uint32_t id) {
    int32_t v = -7;
    EXPECT_EQ(p.GetInt(id, v), 0);
    return static_cast<uint32_t>(v);
  };
  EXPECT_EQ(integer(0x2024), m.northPair);
  EXPECT_EQ(integer(0x2034), m.southPair);
  EXPECT_EQ(integer(0x2044), m.videoPair);
  EXPECT_EQ(text(0x2003), m.north);
  EXPECT_EQ(text(0x2007), m.south);
  EXPECT_EQ(text(0x200B), m.video);
  EXPECT_EQ(text(0x2001), m.chipset);
  EXPECT_EQ(static_cast<int>(integer(0x2010)), m.missing);
  EXPECT_EQ(static_cast<int>(integer(0x5001)), m.functions);

  // Every stored function has a vendor name; listed devices a device name.
  for (int n = 0; n < m.functions; ++n) {
    EXPECT_NE(text(0x5A00 + n), "") << n;
    EXPECT_NE(text(0x5B00 + n), "") << n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Machines, PciRecordedTest,
    ::testing::Values(
        RecordedMachine{"hwloc_cloudstack-kvm-vm.lspci-x.txt", 7, 0x80861237, 0x80867000,
                        0x101300B8, "Intel 440FX - 82441FX PMC [Natoma]",
                        "Intel 82371SB PIIX3 ISA [Natoma/Triton II]", "Cirrus Logic GD 5446",
                        "Intel 440FX + PIIX3", 0},
        RecordedMachine{"hwloc_dell-poweredge-r910.lspci-x.txt", 37, 0x80863407, 0x80863A18,
                        0x102B0532, "Intel 5520/5500/X58 I/O Hub to ESI Port",
                        "Intel 82801JIB (ICH10) LPC Interface Controller",
                        "Matrox MGA G200eW WPCM450", "Intel 5520/5500/X58 + ICH10", 0},
        RecordedMachine{"hwloc_dell-dcs8000z.lspci-x.txt", 128, 0x80863C00, 0x80861D41,
                        0x1A032000, "Intel Xeon E5/Core i7 DMI2",
                        "Intel C600/X79 series chipset LPC Controller", "ASPEED Graphics Family",
                        "Intel C600/X79 (Sandy Bridge-E)", 0},
        RecordedMachine{"pciutils_tree-fujitsu-p8010.lspci.txt", 22, 0x80862A00, 0x80862815,
                        0x80862A02, "Intel Mobile PM965/GM965/GL960 Memory Controller Hub",
                        "Intel 82801HM (ICH8M) LPC Interface Controller",
                        "Intel Mobile GM965/GL960 Integrated Graphics Controller (primary)",
                        "Intel GM965/PM965 + ICH8M", 0},
        // Host bridge and graphics are not in this dump: three look-ups find nothing.
        RecordedMachine{"pciutils_cap-vc-and-rcl.lspci.txt", 16, 0, 0x808627B9, 0, "",
                        "Intel 82801GBM (ICH7-M) LPC Interface Bridge", "", "", 3},
        // Only domain 0 is scanned; the Matrox card lives in domain 1.
        RecordedMachine{"pciutils_PCI-X-bridges-and-domains.lspci.txt", 2, 0, 0x10AD0565, 0, "",
                        "Symphony Labs W83C553F/W83C554F", "", "", 3}));

TEST(PciRecorded, VirtioDevicesAreNamedByPciIds) {
  TestProbeEnvironment t;
  ASSERT_GT(t.driver.LoadLspciDump(std::string(VELORA_TESTDATA) +
                                   "/pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt"),
            0);
  t.env.programFolder = VELORA_BIN_DIR;
  PciProbe p(t.env);
  std::string text;
  // 00:03.0 is the seventh function.
  p.GetString(0x5B06, text);
  EXPECT_EQ(text, "Virtio network device");
  p.GetString(0x5A06, text);
  EXPECT_EQ(text, "Red Hat, Inc.") << "the comma escaped in the database";
  p.GetString(0x5606, text);
  EXPECT_EQ(text, "Ethernet controller");
  p.GetString(0x5602, text);
  // Interface texts too long for the table fall back to the subclass name.
  EXPECT_EQ(text, "IDE interface");
}

}  // namespace
}  // namespace velora
