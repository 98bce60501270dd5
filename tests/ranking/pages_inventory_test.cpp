// The Ranking page's inventory read from the pages: the Device page's names, the Disk page's
// models, the collector's captions and video memory, each as the page holds it now.

#include "ranking/pages_inventory.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

class Pages : public InventoryPagesSource {
 public:
  DevicePageData device;
  DiskPageData disk;
  InventoryFields inventory;
  SystemPageData ReadSystemPage() const override { return {}; }
  CpuPageData ReadCpuPage() const override { return {}; }
  FeaturePageData ReadFeaturePage() const override { return {}; }
  PciPageData ReadPciPage() const override { return {}; }
  DiskPageData ReadDiskPage() const override { return disk; }
  DevicePageData ReadDevicePage() const override { return device; }
  DllPageData ReadDllPage() const override { return {}; }
  InventoryFields ReadInventory() const override { return inventory; }
};

TEST(PagesInventory, ReadsWhatThePagesHoldWhenAsked) {
  Pages pages;
  PagesInventory inventory(pages);
  EXPECT_TRUE(inventory.ReadDiskModels().empty());
  EXPECT_EQ(inventory.ReadCollectorVideoMemory(), "");

  pages.device.chipset = " Intel 440FX";
  pages.device.video = " Cirrus Logic GD 5446";
  pages.device.driverVersion = "cirrus 6.1.0";
  pages.device.directX = "Not installed";
  pages.device.northVid = "32902";
  pages.device.southDid = "28688";
  pages.device.videoRid = "0";
  DiskListRow wd{}, vda{};
  wd[0] = "WDC WD800JD-00MSA1";
  vda[0] = "Virtio Block Device";
  pages.disk.devices = {wd, vda};
  pages.inventory.rankingDisks = {"QEMU HARDDISK"};
  pages.inventory.videoRam = "32";

  const DeviceFacts facts = inventory.ReadDeviceFacts();
  EXPECT_EQ(facts.chipSet, " Intel 440FX");
  EXPECT_EQ(facts.video, " Cirrus Logic GD 5446");
  EXPECT_EQ(facts.videoDriverVersion, "cirrus 6.1.0");
  EXPECT_EQ(facts.directX, "Not installed");
  EXPECT_EQ(facts.northVid, "32902");
  EXPECT_EQ(facts.southDid, "28688");
  EXPECT_EQ(facts.videoRid, "0");
  EXPECT_EQ(facts.videoVid, "");
  EXPECT_EQ(inventory.ReadDiskModels(),
            (std::vector<std::string>{"WDC WD800JD-00MSA1", "Virtio Block Device"}));
  EXPECT_EQ(inventory.ReadCollectorDiskCaptions(), std::vector<std::string>{"QEMU HARDDISK"});
  EXPECT_EQ(inventory.ReadCollectorVideoMemory(), "32");
}

}  // namespace
}  // namespace velora
