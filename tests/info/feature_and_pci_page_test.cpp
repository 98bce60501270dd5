#include <gtest/gtest.h>

#include "info/feature_page_data.h"
#include "info/pci_page_data.h"
#include "probe/probe_id_table.h"
#include "tests/support/fake_probe_object.h"

namespace velora {
namespace {

namespace ids = probe_id;
using testing::FakeProbeObject;

TEST(FeaturePage, TransmetaTableOnAnotherVendorIsAllNo) {
  FakeProbeObject probe;
  probe.texts[ids::kCpuVendorShortName] = "Intel";
  probe.ints[ids::kCpuLeaf1Edx] = static_cast<int32_t>(0xBFEBFBFFu);
  FeaturePageData page = ReadFeaturePageData(probe);
  EXPECT_EQ(page.shown, FeatureRegister::kStandardEdx);
  EXPECT_EQ(page.rows[0].name, "FPU");
  EXPECT_EQ(page.rows[0].answer, "YES");
  EXPECT_EQ(page.rows[10].name, "") << "a reserved bit has no name";
  EXPECT_EQ(page.rows[10].description, "Reserved");
  EXPECT_EQ(page.rows[30].answer, "NO") << "bit 30 of BFEBFBFF is clear";
  ShowFeatureTable(page, FeatureRegister::kTransmeta);
  for (const FeatureRow& row : page.rows) EXPECT_EQ(row.answer, "NO") << row.description;
  EXPECT_EQ(page.rows[1].name, "LR");
}

TEST(FeaturePage, TodaysBitsAreNamedAndVendorDefinitionsDiffer) {
  FakeProbeObject probe;
  probe.texts[ids::kCpuVendorShortName] = "AMD";
  // Leaf 1 ECX of a Zen 2: SSE3, PCLMULQDQ, ..., AVX (bit 28), and the hypervisor bit.
  probe.ints[ids::kCpuLeaf1Ecx] = static_cast<int32_t>(0xFED83203u);
  probe.ints[ids::kCpuExtLeaf1Ecx] = 0x75C237FF;
  probe.ints[ids::kCpuLeaf7Ebx] = 0x219C91A9;
  FeaturePageData amd = ReadFeaturePageData(probe);
  ShowFeatureTable(amd, FeatureRegister::kStandardEcx);
  EXPECT_EQ(amd.rows[28].name, "AVX");
  EXPECT_EQ(amd.rows[28].answer, "YES");
  EXPECT_EQ(amd.rows[31].name, "HYPERVISOR");
  EXPECT_EQ(amd.rows[7].name, "EST") << "the classic names stay";
  ShowFeatureTable(amd, FeatureRegister::kExtendedEcx);
  EXPECT_EQ(amd.rows[2].name, "SVM");
  EXPECT_EQ(amd.rows[5].name, "ABM");
  ShowFeatureTable(amd, FeatureRegister::kStructuredEbx);
  EXPECT_EQ(amd.rows[5].name, "AVX2");
  EXPECT_EQ(amd.rows[5].answer, "YES");
  EXPECT_EQ(amd.rows[16].answer, "NO") << "no AVX-512 on Zen 2";

  probe.texts[ids::kCpuVendorShortName] = "Intel";
  FeaturePageData intel = ReadFeaturePageData(probe);
  ShowFeatureTable(intel, FeatureRegister::kExtendedEcx);
  EXPECT_EQ(intel.rows[2].description, "Reserved") << "SVM is AMD's";
  EXPECT_EQ(intel.rows[5].name, "LZCNT");
  EXPECT_EQ(intel.rows[8].name, "PREFETCHW");
}

// One function of each kind the formats must get right.
FakeProbeObject TwoFunctions() {
  FakeProbeObject p;
  p.ints = {{ids::kPciDeviceCount, 2},          {ids::kPciBus + 0, 0},
            {ids::kPciDeviceNumber + 0, 0},     {ids::kPciFunction + 0, 0},
            {ids::kPciVendor + 0, 0x8086},      {ids::kPciDevice + 0, 0x1237},
            {ids::kPciRevision + 0, 2},         {ids::kPciSubsystem + 0, 0},
            {ids::kPciClassCode + 0, 0x060000}, {ids::kPciBus + 1, 1},
            {ids::kPciDeviceNumber + 1, 0},     {ids::kPciFunction + 1, 0},
            {ids::kPciVendor + 1, 0x10DE},      {ids::kPciDevice + 1, 0x0110},
            {ids::kPciRevision + 1, 0xA1},      {ids::kPciSubsystem + 1, 0x10438095},
            {ids::kPciClassCode + 1, 0x030000}};
  p.texts = {{ids::kPciClassName + 0, "Host bridge"},
             {ids::kPciVendorName + 0, "Intel"},
             {ids::kPciClassName + 1, "VGA compatible controller"},
             {ids::kPciVendorName + 1, "NVIDIA"},
             {ids::kPciSubsystemVendorName + 1, "ASUSTeK"}};
  return p;
}

TEST(PciPage, CellFormatsAndTheDetailPanel) {
  FakeProbeObject probe = TwoFunctions();
  PciPageData page = ReadPciPageData(probe);
  ASSERT_EQ(page.rows.size(), 2u);
  const PciRow& host = page.rows[0];
  EXPECT_EQ(host[4], "8086h");
  EXPECT_EQ(host[6], "02h");
  EXPECT_EQ(host[8], "060000h");
  const PciRow& video = page.rows[1];
  EXPECT_EQ(video[1], "1");
  EXPECT_EQ(video[7], "10438095h") << "the probe answers the subsystem vendor in the high half";
  EXPECT_EQ(video[8], "030000h");
  EXPECT_EQ(video[9], "VGA compatible controller");
  EXPECT_EQ(page.shownRow, 0);
  EXPECT_EQ(page.detail.vendorName, " Intel");
  EXPECT_EQ(page.detail.deviceName, " ") << "one blank before an empty name";
  EXPECT_TRUE(ShowPciRow(page, 1));
  EXPECT_EQ(page.detail.subsystemId, "10438095h");
  EXPECT_EQ(page.detail.subsystemVendor, " ASUSTeK");
  EXPECT_FALSE(ShowPciRow(page, 2)) << "a click below the last row";
  EXPECT_FALSE(ShowPciRow(page, -1));
  EXPECT_EQ(page.shownRow, 1);
  EXPECT_EQ(page.detail.subsystemVendor, " ASUSTeK") << "the panel is unchanged";
}

TEST(PciPage, NoPciPartMeansNoRows) {
  FakeProbeObject probe;  // the count answers -1
  PciPageData page = ReadPciPageData(probe);
  EXPECT_TRUE(page.rows.empty());
  EXPECT_EQ(page.shownRow, -1);
  EXPECT_EQ(page.detail.vendorName, "");
  int shares = 0;
  for (const PciColumn& c : kPciColumns) shares += c.widthShare;
  EXPECT_EQ(shares, 555);
}

}  // namespace
}  // namespace velora
