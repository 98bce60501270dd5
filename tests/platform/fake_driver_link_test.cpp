#include "platform/fake/fake_driver_link.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(FakeDriverLinkTest, LoadsRecordedConfigurationSpaces) {
  FakeDriverLink link;
  // Full 256-byte spaces of a Dell server, and a dump of 64-byte headers.
  int loaded = link.LoadLspciDump(VELORA_TESTDATA "/pci-config/hwloc_dell-poweredge-r910.lspci-x.txt");
  ASSERT_GT(loaded, 0);
  for (const auto& [address, bytes] : link.pciConfig) {
    EXPECT_TRUE(bytes.size() == 64 || bytes.size() == 256 || bytes.size() == 4096)
        << std::hex << address << " " << bytes.size();
    uint16_t vendor = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    EXPECT_NE(vendor, 0xFFFF);
  }
  EXPECT_EQ(link.LoadLspciDump("/nonexistent/file"), -1);
}

TEST(FakeDriverLinkTest, AbsentFunctionsAndForcedErrors) {
  FakeDriverLink link;
  link.AddFunction(MakePciAddress(0, 0, 0), 0x1022, 0x1480, 0x060000);
  uint32_t v = 0;
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(0, 0, 0), 0, &v, 4), 0u);
  EXPECT_EQ(v, 0x14801022u);
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(0, 0, 1), 0, &v, 4), kPciErrorDeviceAbsent);
  link.pciReadErrors[MakePciAddress(0, 0, 0)] = kPciErrorAbort;
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(0, 0, 0), 0, &v, 4), kPciErrorAbort);
}

}  // namespace
}  // namespace velora
