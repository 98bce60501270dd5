// The inventory read from recorded machines: every tree with firmware names fills the System
// page as its files say; the display device, disks and adapters of the trees that have them.

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "info/device_page_data.h"
#include "info/inventory_collector.h"
#include "info/inventory_sysfs.h"
#include "info/network_adapters.h"
#include "info/system_page_data.h"
#include "tests/support/recorded_tree.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

class QuietHost : public InventoryHost {
 public:
  void BeginCollecting(const std::string&) override {}
  void Publish(const InventoryFields&) override {}
  void EndCollecting() override {}
};

InventoryFields CollectFrom(const std::string& root) {
  SysfsInventoryOptions options;
  options.root = root;
  options.programFolder = VELORA_SOURCE_DIR;
  SysfsInventorySources sources(options);
  QuietHost host;
  return CollectInventory(sources, InventoryRequest{}, host, [](const std::string&) {});
}

using ExpectedFields = std::map<std::string, std::map<std::string, std::string>>;

ExpectedFields ReadExpected() {
  ExpectedFields expected;
  std::ifstream in(std::string(VELORA_INVENTORY_EXPECTED) + "/system-fields.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t a = line.find('\t'), b = line.find('\t', a + 1);
    if (a == std::string::npos || b == std::string::npos) continue;
    expected[line.substr(0, a)][line.substr(a + 1, b - a - 1)] = line.substr(b + 1);
  }
  return expected;
}

std::vector<std::string> MachinesWithFirmwareNames() {
  std::vector<std::string> machines;
  for (const auto& [machine, fields] : ReadExpected()) machines.push_back(machine);
  return machines;
}

class RecordedSystemFields : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedSystemFields, FillTheSystemPageAsTheFilesSay) {
  testing::TempFolder dir;
  testing::CopyRecordedTree(GetParam(), dir.path());
  SystemPageData page;
  ApplyInventoryToSystemPage(page, CollectFrom(dir.path()));
  const std::map<std::string, const std::string*> shown{
      {"biosVendor", &page.biosVendor},       {"biosCaption", &page.biosCaption},
      {"biosVersion", &page.biosVersion},     {"biosDate", &page.biosDate},
      {"smbiosCaption", &page.smbiosCaption}, {"systemVendor", &page.systemVendor},
      {"systemModel", &page.systemModel},     {"motherVendor", &page.motherVendor},
      {"motherProduct", &page.motherProduct}, {"motherVersion", &page.motherVersion}};
  const auto expected = ReadExpected().at(GetParam());
  EXPECT_EQ(expected.size(), shown.size()) << "every field written down for " << GetParam();
  for (const auto& [field, value] : expected) {
    ASSERT_TRUE(shown.count(field)) << field;
    EXPECT_EQ(*shown.at(field), value) << GetParam() << " " << field;
  }
  // No recorded tree holds the SMBIOS tables, which only root may read.
  EXPECT_EQ(page.smbiosVersion, "");
}

INSTANTIATE_TEST_SUITE_P(Machines, RecordedSystemFields,
                         ::testing::ValuesIn(MachinesWithFirmwareNames()), [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(RecordedSystemFieldsList, CoversEveryTreeWithFirmwareNames) {
  EXPECT_EQ(MachinesWithFirmwareNames().size(), 9u);
}

TEST(RecordedVideo, TheConnectedCardOfTheCloudStackMachine) {
  testing::TempFolder dir;
  testing::CopyRecordedTree("hwloc_cloudstack-kvm-vm", dir.path());
  InventoryFields f = CollectFrom(dir.path());
  // 1013:00B8 in the databases; subsystem vendor 1AF4.
  EXPECT_EQ(f.videoVendor, " Cirrus Logic");
  EXPECT_EQ(f.videoChip, " Cirrus Logic GD 5446");
  EXPECT_EQ(f.videoProduct, " Red Hat, Inc. Cirrus Logic GD 5446");
  // BAR 0 fc000000-fdffffff is the only prefetchable window (flags 0x42208): 32 MB.
  EXPECT_EQ(f.videoRam, "32");
  EXPECT_EQ(f.driverVersion, "") << "the tree has neither module nor kernel version";

  testing::WriteText(dir.file("proc/sys/kernel/osrelease"), "6.1.0-13-amd64\n");
  EXPECT_EQ(CollectFrom(dir.path()).driverVersion, "cirrus 6.1.0-13-amd64");
  testing::WriteText(dir.file("sys/module/cirrus/version"), "2.0.0\n");
  EXPECT_EQ(CollectFrom(dir.path()).driverVersion, "cirrus 2.0.0");

  DevicePageData page;
  ApplyInventoryToDevicePage(page, f);
  EXPECT_EQ(page.videoRam, "32");
  EXPECT_EQ(page.videoChip, " Cirrus Logic GD 5446");
}

TEST(RecordedDisks, AVirtioDiskIsNamedAsTheDiskPageNamesIt) {
  testing::TempFolder dir;
  testing::CopyRecordedTree("hwloc_cloudstack-kvm-vm", dir.path());
  testing::WriteText(dir.file("sys/block/vda/size"), "41943040\n");  // 20 GiB of sectors
  const InventoryFields f = CollectFrom(dir.path());
  // vda's "vendor" attribute holds the PCI vendor id 0x1af4, no name; sr0 is the DVD drive.
  EXPECT_EQ(f.rankingDisks, (std::vector<std::string>{"QEMU QEMU DVD-ROM", "Virtio Block Device"}));
}

TEST(RecordedVideo, ACardWithoutConnectorsOrBootFlagIsNotTheDisplay) {
  testing::TempFolder dir;
  testing::CopyRecordedTree("ghw_amd-ryzen-radeon-hd6670", dir.path());
  SysfsInventorySources sources({dir.path(), VELORA_SOURCE_DIR, "", ""});
  EXPECT_EQ(sources.PrimaryDisplayDevice(), "");
  EXPECT_FALSE(sources.VideoController());
}

TEST(RecordedDisks, TheDesktopsNvmeAndSataDisks) {
  testing::TempFolder dir;
  testing::CopyRecordedTree("utillinux_desktop-2018-nvme-ssd-hdd", dir.path());
  const InventoryFields f = CollectFrom(dir.path());
  ASSERT_EQ(f.diskRows.size(), 3u);
  // nvme0n1 and sda: 468862128 sectors of 512 bytes; sdb: 156301488.
  EXPECT_EQ(f.diskRows[0].model, "KINGSTON SKC1000240G");
  EXPECT_EQ(f.diskRows[0].interfaceType, "NVMe");
  EXPECT_EQ(f.diskRows[0].sizeGb, "240.0");
  EXPECT_EQ(f.diskRows[1].model, "KINGSTON SH103S3");
  EXPECT_EQ(f.diskRows[1].interfaceType, "SATA");
  EXPECT_EQ(f.diskRows[1].sizeGb, "240.0");
  EXPECT_EQ(f.diskRows[2].model, "WDC WD800JD-00MS");
  EXPECT_EQ(f.diskRows[2].sizeGb, "80.0");
  EXPECT_EQ(f.rankingDisks, (std::vector<std::string>{"KINGSTON SKC1000240G", "KINGSTON SH103S3",
                                                      "WDC WD800JD-00MS"}));
}

TEST(DiskInterfaces, FromNameAndPath) {
  EXPECT_EQ(DiskInterfaceOf("vda", "/sys/devices/pci0000:00/0000:00:04.0/virtio1/block/vda"),
            "VIRT");
  EXPECT_EQ(DiskInterfaceOf("sdb", "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/host6/x"), "USB");
  EXPECT_EQ(DiskInterfaceOf("sdc",
                            "/sys/devices/pci0000:00/0000:00:01.0/host0/port-0:0/end_device-0:0/x"),
            "SAS");
  EXPECT_EQ(DiskInterfaceOf("mmcblk0", "/sys/devices/platform/mmc0/mmc0:0001/block/mmcblk0"),
            "MMC");
  EXPECT_EQ(DiskInterfaceOf("sdd", "/sys/devices/pci0000:00/0000:00:02.0/host2/target2:2:0/x"),
            "SCSI");
}

TEST(RecordedAdapters, TheR910ListsItsFourEthernetPorts) {
  testing::TempFolder dir;
  testing::CopyRecordedTree("hwloc_dell-poweredge-r910", dir.path());
  testing::WriteText(dir.file("proc/net/route"),
                     "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n"
                     "eth1\t0000A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\n"
                     "eth1\t00000000\t0100A8C0\t0003\t0\t0\t0\t00000000\n");
  NetworkReadings r;
  r.root = dir.path();
  r.programFolder = VELORA_SOURCE_DIR;
  r.addresses = {{"eth1", "192.168.0.20", "255.255.255.0"}};
  const auto rows = ReadNetworkAdapters(r);
  // ib0 is InfiniBand (type 32), which the list does not show. eth1 carries the default route
  // and comes first; the others keep the kernel's order.
  ASSERT_EQ(rows.size(), 4u);
  const int order[] = {1, 0, 2, 3};
  const char* macs[] = {"78:2B:CB:38:AC:1D", "78:2B:CB:38:AC:1B", "78:2B:CB:38:AC:1F",
                        "78:2B:CB:38:AC:21"};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][0], "Ethernet");
    EXPECT_EQ(rows[i][1],
              " Broadcom Inc. and subsidiaries NetXtreme II BCM5709 Gigabit Ethernet (eth" +
                  std::to_string(order[i]) + ")");
    EXPECT_EQ(rows[i][2], macs[i]);
  }
  EXPECT_EQ(rows[0][3], "192.168.0.20");
  EXPECT_EQ(rows[0][4], "255.255.255.0");
  EXPECT_EQ(rows[0][5], "192.168.0.1") << "0100A8C0 in host byte order";
  EXPECT_EQ(rows[1][3], "") << "eth0 has no address";
  EXPECT_EQ(rows[1][5], "");
}

TEST(AdapterTexts, TheDefaultRouteFirstDownWithoutAddressLast) {
  struct Case {
    bool route, address;
    const char* operstate;
    int rank;
  } cases[] = {
      {true, true, "up", 0},       {true, false, "down", 0},    {false, true, "up", 1},
      {false, false, "up", 1},     {false, false, "unknown", 1}, {false, false, "", 1},
      {false, true, "down", 1},    {false, false, "down", 2},   {false, false, "lowerlayerdown", 2},
      {false, false, "notpresent", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AdapterListRank(c.route, c.address, c.operstate), c.rank)
        << c.route << c.address << c.operstate;
  }
  EXPECT_EQ(LinkStateText("up"), "Up");
  EXPECT_EQ(LinkStateText("lowerlayerdown"), "Lower Layer Down");
  EXPECT_EQ(LinkStateText(""), "");
}

// A machine of our own whose first interface is the loopback.
class AdapterTree : public ::testing::Test {
 protected:
  void Interface(const std::string& name, int index, int type, const std::string& mac) {
    testing::WriteText(dir.file("sys/class/net/" + name + "/ifindex"),
                       std::to_string(index) + "\n");
    testing::WriteText(dir.file("sys/class/net/" + name + "/type"), std::to_string(type) + "\n");
    testing::WriteText(dir.file("sys/class/net/" + name + "/address"), mac + "\n");
  }
  testing::TempFolder dir;
};

TEST_F(AdapterTree, DefaultRouteFirstEachRowItsOwnAddresses) {
  Interface("lo", 1, 772, "00:00:00:00:00:00");
  Interface("eth0", 2, 1, "52:54:00:12:34:56");
  Interface("wlan0", 3, 1, "a0:b1:c2:d3:e4:f5");
  testing::WriteText(dir.file("sys/class/net/wlan0/wireless/.keep"), "");
  Interface("ppp0", 4, 512, "");
  Interface("ib0", 5, 32, "80:00:00:48:fe:80:00:00:00:00:00:00:00:02:c9:03:00:0b:f5:11");
  Interface("sl0", 6, 256, "");
  // An interface that is down without an address goes last; one with the default route first.
  Interface("ifb0", 7, 1, "2a:11:22:33:44:55");
  testing::WriteText(dir.file("sys/class/net/ifb0/operstate"), "down\n");
  testing::WriteText(dir.file("sys/class/net/wlan0/operstate"), "up\n");
  testing::WriteText(dir.file("sys/class/net/wlan0/mtu"), "1500\n");
  testing::WriteText(dir.file("proc/net/route"),
                     "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n"
                     "wlan0\t00000000\t010010AC\t0003\t0\t0\t0\t00000000\n");
  testing::WriteText(
      dir.file("var/lib/dhcp/dhclient.leases"),
      "lease {\n  interface \"eth0\";\n  fixed-address 10.0.0.5;\n"
      "  option dhcp-server-identifier 10.0.0.1;\n}\n"
      "lease {\n  interface \"wlan0\";\n  option dhcp-server-identifier 172.16.0.9;\n}\n"
      "lease {\n  interface \"eth0\";\n  option dhcp-server-identifier 10.0.0.2;\n}\n");
  testing::WriteText(dir.file("run/systemd/netif/leases/4"),
                     "ADDRESS=100.64.0.2\nSERVER_ADDRESS=100.64.0.1\n");
  NetworkReadings r;
  r.root = dir.path();
  r.programFolder = VELORA_SOURCE_DIR;
  // The kernel lists the loopback's address first.
  r.addresses = {{"lo", "127.0.0.1", "255.0.0.0"},
                 {"wlan0", "172.16.0.33", "255.255.0.0"},
                 {"eth0", "10.0.0.5", "255.255.255.0"},
                 {"eth0", "10.0.0.6", "255.255.255.0"},
                 {"wlan0", "fd00::21/64", "", true},
                 {"wlan0", "fe80::1/64", "", true}};
  r.driverName = [](const std::string& name) { return name == "ppp0" ? "ppp" : ""; };
  const auto rows = ReadNetworkAdapters(r);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0][0], "Wireless");
  EXPECT_EQ(rows[0][2], "A0:B1:C2:D3:E4:F5");
  EXPECT_EQ(rows[0][3], "172.16.0.33");
  EXPECT_EQ(rows[0][4], "255.255.0.0");
  EXPECT_EQ(rows[0][5], "172.16.0.1") << "010010AC in host byte order";
  EXPECT_EQ(rows[0][6], "172.16.0.9");
  EXPECT_EQ(rows[0][7], "fd00::21/64, fe80::1/64");
  EXPECT_EQ(rows[0][8], "Up");
  EXPECT_EQ(rows[0][9], "1500");
  EXPECT_EQ(rows[1][0], "Ethernet");
  EXPECT_EQ(rows[1][1], " eth0");
  EXPECT_EQ(rows[1][2], "52:54:00:12:34:56");
  EXPECT_EQ(rows[1][3], "10.0.0.5") << "the first address";
  EXPECT_EQ(rows[1][6], "10.0.0.2") << "the latest lease of eth0";
  EXPECT_EQ(rows[1][7], "") << "no IPv6 address";
  EXPECT_EQ(rows[2][0], "PPP");
  EXPECT_EQ(rows[2][1], " ppp (ppp0)");
  EXPECT_EQ(rows[2][3], "");
  EXPECT_EQ(rows[2][6], "100.64.0.1");
  EXPECT_EQ(rows[3][0], "SLIP");
  EXPECT_EQ(rows[4][1], " ifb0");
  EXPECT_EQ(rows[4][8], "Down");

  DevicePageData page;
  SetAdapters(page, rows);
  EXPECT_EQ(page.shownAdapter, 0);
  EXPECT_EQ(page.adapterDetail[0], rows[0][1]);
  EXPECT_EQ(page.adapterDetail[2], "172.16.0.33");
  EXPECT_EQ(page.adapterDetail[6], "fd00::21/64, fe80::1/64");
  EXPECT_FALSE(ShowAdapterRow(page, 5)) << "beside the rows";
  EXPECT_EQ(page.adapterDetail[2], "172.16.0.33");
  EXPECT_TRUE(ShowAdapterRow(page, 1));
  EXPECT_EQ(page.adapterDetail[0], " eth0");
  EXPECT_EQ(page.adapterDetail[5], "10.0.0.2");
}

TEST(AdapterTexts, TypesMacsAndLeases) {
  EXPECT_EQ(InterfaceTypeName(772, false), nullptr) << "loopback";
  EXPECT_EQ(InterfaceTypeName(32, false), nullptr) << "InfiniBand";
  EXPECT_STREQ(InterfaceTypeName(774, false), "FDDI");
  EXPECT_STREQ(InterfaceTypeName(6, false), "Token Ring");
  EXPECT_EQ(MacText("00:1a:2b"), "");
  EXPECT_EQ(DhcpServerInKeyValueLease("# comment\nSERVER_ADDRESS=192.0.2.1\n"), "192.0.2.1");
  EXPECT_EQ(
      DhcpServerInDhclientLeases(
          "lease {\n interface \"eth1\";\n option dhcp-server-identifier 1.2.3.4;\n}\n", "eth0"),
      "");
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

// Machines of our own, for what no recorded tree holds.
class MadeTree : public ::testing::Test {
 protected:
  SysfsInventorySources Sources() {
    return SysfsInventorySources({dir.path(), VELORA_SOURCE_DIR, "", ""});
  }
  testing::TempFolder dir;
};

TEST_F(MadeTree, BootDisplayWithItsOwnMemoryCount) {
  const std::string device = dir.file("sys/bus/pci/devices/0000:03:00.0");
  testing::WriteText(device + "/boot_vga", "1\n");
  testing::WriteText(device + "/vendor", "0x1002\n");
  testing::WriteText(device + "/device", "0x73bf\n");
  testing::WriteText(device + "/revision", "0xc1\n");
  testing::WriteText(device + "/subsystem_vendor", "0x1002\n");
  // 16 GiB, as amdgpu counts it; the windows of resource would say 256 MB.
  testing::WriteText(device + "/mem_info_vram_total", "17179869184\n");
  testing::WriteText(device + "/resource",
                     "0x00000000d0000000 0x00000000dfffffff 0x000000000014220c\n");
  testing::WriteText(dir.file("sys/bus/pci/drivers/amdgpu/.keep"), "");
  std::filesystem::create_directory_symlink("../../../bus/pci/drivers/amdgpu", device + "/driver");
  testing::WriteText(dir.file("proc/sys/kernel/osrelease"), "6.1.0-13-amd64\n");
  auto video = Sources().VideoController();
  ASSERT_TRUE(video);
  EXPECT_EQ(video->adapterCompatibility, "Advanced Micro Devices, Inc. [AMD/ATI]");
  EXPECT_EQ(video->videoProcessor, "AMD/ATI Radeon RX 6800/6800 XT / 6900 XT");
  EXPECT_EQ(video->driverName, "amdgpu");
  ASSERT_TRUE(video->adapterRamBytes);
  EXPECT_EQ(VideoMemoryText(*video->adapterRamBytes), "16384");

  std::filesystem::remove(device + "/mem_info_vram_total");
  video = Sources().VideoController();
  ASSERT_TRUE(video && video->adapterRamBytes);
  EXPECT_EQ(VideoMemoryText(*video->adapterRamBytes), "256") << "d0000000-dfffffff";
}

TEST_F(MadeTree, TheStorageControllerIsTheFirstOfClassOne) {
  const std::string devices = dir.file("sys/bus/pci/devices/");
  testing::WriteText(devices + "0000:00:02.0/class", "0x030000\n");
  testing::WriteText(devices + "0000:00:1f.2/class", "0x010601\n");
  testing::WriteText(devices + "0000:00:1f.2/vendor", "0x8086\n");
  testing::WriteText(devices + "0000:00:1f.2/device", "0x2922\n");
  testing::WriteText(devices + "0000:00:1f.5/class", "0x010185\n");
  auto controller = Sources().StorageController();
  ASSERT_TRUE(controller);
  EXPECT_EQ(controller->caption,
            "Intel Corporation 82801IR/IO/IH (ICH9R/DO/DH) 6 port SATA Controller [AHCI mode]");
  std::filesystem::remove_all(devices + "0000:00:1f.2");
  std::filesystem::remove_all(devices + "0000:00:1f.5");
  EXPECT_FALSE(Sources().StorageController());
}

TEST_F(MadeTree, InstallDateFromTheInstallerLog) {
  testing::WriteText(dir.file("var/log/installer/syslog"), "installed\n");
  // 2023-05-01 12:00:00 UTC.
  const auto when =
      std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1682942400)));
  std::filesystem::last_write_time(dir.file("var/log/installer/syslog"), when);
  auto os = Sources().OperatingSystem();
  ASSERT_TRUE(os);
  EXPECT_EQ(os->installDate, "20230501");
}

TEST(SmbiosVersionText, MajorAndMinor) {
  EXPECT_EQ(SmbiosVersionNumbers("2.7"), std::make_pair(2, 7));
  EXPECT_EQ(SmbiosVersionNumbers("3.0"), std::make_pair(3, 0));
  EXPECT_FALSE(SmbiosVersionNumbers(""));
  EXPECT_FALSE(SmbiosVersionNumbers("x"));
}

}  // namespace
}  // namespace velora
