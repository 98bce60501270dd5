#include "probe/pci/pci_config.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_driver_link.h"

namespace velora {
namespace {

constexpr uint32_t Found(uint32_t bus, uint32_t device, uint32_t function) {
  return MakePciAddress(bus, device, function) << 16;
}

class PciWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Host bridge, a multi-function south bridge with IDE and USB, two identical NICs on
    // bus 2, and a single-function device that still answers at function 1 (the walk must
    // not look there).
    bus.AddFunction(MakePciAddress(0, 0, 0), 0x8086, 0x1237, 0x060000);
    bus.AddFunction(MakePciAddress(0, 1, 0), 0x8086, 0x7000, 0x060100, 0x80);
    bus.AddFunction(MakePciAddress(0, 1, 1), 0x8086, 0x7010, 0x010180);
    bus.AddFunction(MakePciAddress(0, 1, 3), 0x8086, 0x7020, 0x0C0300);
    bus.AddFunction(MakePciAddress(0, 5, 0), 0x10DE, 0x0040, 0x030000);
    bus.AddFunction(MakePciAddress(0, 5, 1), 0x10DE, 0x0041, 0x040300);
    bus.AddFunction(MakePciAddress(2, 0, 0), 0x10EC, 0x8139, 0x020000);
    bus.AddFunction(MakePciAddress(2, 3, 0), 0x10EC, 0x8139, 0x020000);
  }
  FakeDriverLink bus;
};

TEST_F(PciWalkTest, FindsDevicesInBusOrderByIndex) {
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x1237, 0), Found(0, 0, 0));
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x7010, 0), Found(0, 1, 1));
  EXPECT_EQ(FindPciDevice(bus, 0x10EC, 0x8139, 0), Found(2, 0, 0));
  EXPECT_EQ(FindPciDevice(bus, 0x10EC, 0x8139, 1), Found(2, 3, 0));
  EXPECT_EQ(FindPciDevice(bus, 0x10EC, 0x8139, 2), kPciDeviceNotFound);
  EXPECT_EQ(FindPciDevice(bus, 0x1002, 0x4C59, 0), kPciDeviceNotFound);
}

TEST_F(PciWalkTest, FunctionsBeyondZeroOnlyForMultiFunctionDevices) {
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x7020, 0), Found(0, 1, 3));
  // Device 5 has no multi-function bit, so its function 1 is never visited.
  EXPECT_EQ(FindPciDevice(bus, 0x10DE, 0x0041, 0), kPciDeviceNotFound);
  EXPECT_EQ(FindPciClass(bus, 0x04, 0x03, 0x00, 0), kPciDeviceNotFound);
}

TEST_F(PciWalkTest, BadVendorAnswersWithoutTouchingTheBus) {
  EXPECT_EQ(FindPciDevice(bus, 0xFFFF, 0x1237, 0), kPciBadVendorId);
  EXPECT_EQ(bus.pciReads, 0);
}

TEST_F(PciWalkTest, ClassSearchMatchesTheThreeClassBytes) {
  EXPECT_EQ(FindPciClass(bus, 0x06, 0x00, 0x00, 0), Found(0, 0, 0));
  EXPECT_EQ(FindPciClass(bus, 0x06, 0x01, 0x00, 0), Found(0, 1, 0));
  EXPECT_EQ(FindPciClass(bus, 0x01, 0x01, 0x80, 0), Found(0, 1, 1));
  EXPECT_EQ(FindPciClass(bus, 0x01, 0x01, 0x8A, 0), kPciDeviceNotFound);
  EXPECT_EQ(FindPciClass(bus, 0x02, 0x00, 0x00, 1), Found(2, 3, 0));
  EXPECT_EQ(FindPciClass(bus, 0x03, 0x00, 0x00, 0), Found(0, 5, 0));
}

TEST_F(PciWalkTest, DeviceAbsentAtFunctionZeroSkipsTheDevice) {
  // Function 0 of the south bridge reports "absent" while its other functions would answer.
  bus.pciReadErrors[MakePciAddress(0, 1, 0)] = kPciErrorDeviceAbsent;
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x7010, 0), kPciDeviceNotFound);
  // Another error at function 0 also leaves the header type unread, so no function 1-7.
  bus.pciReadErrors[MakePciAddress(0, 1, 0)] = 5;
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x7010, 0), kPciDeviceNotFound);
  // An error at a higher function moves on to the next function.
  bus.pciReadErrors.clear();
  bus.pciReadErrors[MakePciAddress(0, 1, 1)] = 5;
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x7020, 0), Found(0, 1, 3));
}

TEST_F(PciWalkTest, AbortEndsTheWalkAtOnce) {
  bus.pciReadErrors[MakePciAddress(0, 1, 0)] = kPciErrorAbort;
  EXPECT_EQ(FindPciDevice(bus, 0x10EC, 0x8139, 0), kPciDeviceNotFound);
  EXPECT_EQ(FindPciClass(bus, 0x02, 0x00, 0x00, 0), kPciDeviceNotFound);
}

TEST_F(PciWalkTest, NoDriverFindsNothing) {
  bus.status = kDriverNoDevice;
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x1237, 0), kPciDeviceNotFound);
}

TEST_F(PciWalkTest, ConfigurationHelpersUseTheFailureValues) {
  PciAddress bridge = MakePciAddress(0, 1, 0);
  EXPECT_EQ(ReadPciConfigByte(bus, bridge, 0x0E), 0x80u);
  EXPECT_EQ(ReadPciConfigDword(bus, bridge, 0), 0x70008086u);
  // Past the 64 recorded bytes, as an ordinary user reads past byte 64.
  EXPECT_EQ(ReadPciConfigDword(bus, bridge, 0x40), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPciConfigByte(bus, bridge, 0x40), 5u | 0xFFu);
  EXPECT_EQ(ReadPciConfigByte(bus, MakePciAddress(9, 0, 0), 0), kPciErrorDeviceAbsent | 0xFF);

  EXPECT_EQ(WritePciConfigByte(bus, bridge, 0x3C, 0x1234), 0u);
  EXPECT_EQ(ReadPciConfigByte(bus, bridge, 0x3C), 0x34u);
  EXPECT_EQ(ReadPciConfigByte(bus, bridge, 0x3D), 0x00u);
}

TEST(PciRecordedBusTest, WalksARecordedMachine) {
  FakeDriverLink bus;
  ASSERT_EQ(bus.LoadLspciDump(VELORA_TESTDATA "/pci-config/hwloc_cloudstack-kvm-vm.lspci-x.txt"),
            7);
  // i440FX host bridge, PIIX3 ISA bridge (multi-function) and its IDE function.
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x1237, 0), Found(0, 0, 0));
  EXPECT_EQ(FindPciDevice(bus, 0x8086, 0x7010, 0), Found(0, 1, 1));
  EXPECT_EQ(FindPciClass(bus, 0x06, 0x01, 0x00, 0), Found(0, 1, 0));
  EXPECT_EQ(FindPciClass(bus, 0x01, 0x01, 0x80, 0), Found(0, 1, 1));
}

}  // namespace
}  // namespace velora
