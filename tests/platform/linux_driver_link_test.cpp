#include "platform/linux/linux_driver_link.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace velora {
namespace {

namespace fs = std::filesystem;

// A sysfs tree of our own: PCI functions with their config files.
class SysfsTree {
 public:
  SysfsTree() {
    root_ = fs::temp_directory_path() /
            ("velora-sysfs-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(root_);
  }
  ~SysfsTree() { fs::remove_all(root_); }
  void AddFunction(const std::string& name, const std::vector<uint8_t>& config) {
    fs::path dir = root_ / "bus/pci/devices" / name;
    fs::create_directories(dir);
    std::ofstream(dir / "config", std::ios::binary)
        .write(reinterpret_cast<const char*>(config.data()),
               static_cast<std::streamsize>(config.size()));
  }
  void MakeDevicesDir() { fs::create_directories(root_ / "bus/pci/devices"); }
  LinuxDriverPaths Paths() const { return {root_.string(), (root_ / "dev").string()}; }
  fs::path root() const { return root_; }

 private:
  fs::path root_;
  static inline int counter_ = 0;
};

std::vector<uint8_t> Header(uint16_t vendor, uint16_t device, size_t size = 64) {
  std::vector<uint8_t> c(size, 0);
  c[0] = vendor & 0xFF;
  c[1] = vendor >> 8;
  c[2] = device & 0xFF;
  c[3] = device >> 8;
  return c;
}

TEST(LinuxDriverLinkTest, StatusFollowsWhatSysfsOffers) {
  SysfsTree none;
  EXPECT_EQ(LinuxDriverLink(none.Paths()).Status(), kDriverNoDevice);

  SysfsTree empty;
  empty.MakeDevicesDir();
  EXPECT_EQ(LinuxDriverLink(empty.Paths()).Status(), kDriverStartFailed);

  SysfsTree readable;
  readable.AddFunction("0000:00:00.0", Header(0x8086, 0x1237));
  EXPECT_EQ(LinuxDriverLink(readable.Paths()).Status(), kDriverOpen);
}

TEST(LinuxDriverLinkTest, ReadsListedFunctionsAndCallsOthersAbsent) {
  SysfsTree tree;
  tree.AddFunction("0000:00:1f.3", Header(0x8086, 0x51C8));
  tree.AddFunction("0000:02:00.0", Header(0x10EC, 0x8168, 256));
  // Another PCI domain has no place in a 16-bit address and is left out.
  tree.AddFunction("0001:00:00.0", Header(0x1234, 0x5678));
  LinuxDriverLink link(tree.Paths());
  EXPECT_EQ(link.PresentFunctionCount(), 2u);

  uint32_t id = 0;
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(0, 0x1F, 3), 0, &id, 4), 0u);
  EXPECT_EQ(id, 0x51C88086u);
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(2, 0, 0), 0, &id, 4), 0u);
  EXPECT_EQ(id, 0x816810ECu);
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(0, 0, 0), 0, &id, 4), kPciErrorDeviceAbsent);

  // Only 64 bytes are recorded for the first function: reading beyond is a failed call.
  uint8_t byte = 0;
  EXPECT_NE(link.ReadPciConfig(MakePciAddress(0, 0x1F, 3), 0x40, &byte, 1), 0u);
  EXPECT_EQ(link.ReadPciConfig(MakePciAddress(2, 0, 0), 0xFF, &byte, 1), 0u);
}

TEST(LinuxDriverLinkTest, MissingDevicesFailCleanly) {
  SysfsTree tree;
  LinuxDriverLink link(tree.Paths());
  uint32_t low = 1, high = 1;
  EXPECT_FALSE(link.ReadMsr(0x10, low, high));
  EXPECT_EQ(low, 0u);
  EXPECT_EQ(high, 0u);
  EXPECT_FALSE(link.WriteMsr(0x10, 0, 0));
  uint8_t buffer[16];
  EXPECT_EQ(link.ReadPhysicalMemory(0xF0000, buffer, sizeof buffer), 0u);
  link.Halt();
}

TEST(LinuxDriverLinkTest, PhysicalMemoryAndMsrsComeFromTheDeviceFiles) {
  SysfsTree tree;
  fs::create_directories(tree.root() / "dev/cpu");
  std::vector<uint8_t> image(0x100, 0);
  image[0x10] = 0x5F;
  std::ofstream(tree.root() / "dev/mem", std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), 0x100);
  LinuxDriverLink link(tree.Paths());
  uint8_t got[4] = {};
  EXPECT_EQ(link.ReadPhysicalMemory(0x10, got, 4), 4u);
  EXPECT_EQ(got[0], 0x5F);
  // Past the end of the file: a short read.
  EXPECT_EQ(link.ReadPhysicalMemory(0xFE, got, 4), 2u);
}

TEST(LinuxDriverLinkTest, ThisMachineDegradesWithoutFailing) {
  LinuxDriverLink link;
  int32_t status = link.Status();
  EXPECT_TRUE(status == kDriverOpen || status == kDriverStartFailed || status == kDriverNoDevice);
  if (status == kDriverOpen) {
    EXPECT_GT(link.PresentFunctionCount(), 0u);
  }
}

}  // namespace
}  // namespace velora
