// Disk identification over recorded machines: which commands each disk is asked, in which order,
// and the rows an ordinary user and root see.

#include "info/disk_identification.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "info/nvme_identify.h"
#include "platform/fake/fake_disk_commands.h"
#include "platform/linux/linux_disk_commands.h"
#include "tests/support/recorded_tree.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::TempFolder;
using testing::WriteText;
constexpr auto kDone = DiskCommandStatus::kDone;
constexpr auto kNoPrivilege = DiskCommandStatus::kNoPrivilege;
constexpr auto kRefused = DiskCommandStatus::kRefused;

IdentifyBlock RecordedBlock(const std::string& file) {
  std::ifstream in(std::string(VELORA_TESTDATA) + "/ata-identify/" + file);
  std::stringstream text;
  text << in.rdbuf();
  const auto words = ParseIdentifyText(text.str());
  EXPECT_TRUE(words.has_value()) << file;
  IdentifyBlock block{};
  for (size_t i = 0; words && i < 256; ++i) {
    block[2 * i] = static_cast<uint8_t>((*words)[i] & 0xFF);
    block[2 * i + 1] = static_cast<uint8_t>((*words)[i] >> 8);
  }
  return block;
}

// A 2026 desktop: NVMe Kingston FURY, two SATA disks, a scsi_debug disk, a SATA DVD writer.
class RecordedDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::CopyRecordedTree("utillinux_desktop-2026-nvme-ssd-hdd-dvd", dir.path());
  }
  std::string Node(const std::string& name) const { return dir.path() + "/dev/" + name; }
  std::vector<DiskRow> Identify() {
    return IdentifyDisks(ListBlockDevices(dir.path()), commands, dir.path());
  }

  TempFolder dir;
  FakeDiskCommands commands;
};

TEST_F(RecordedDesktop, EveryDiskListedInOrderWithWhatTheKernelTellsEveryone) {
  const auto devices = ListBlockDevices(dir.path());
  ASSERT_EQ(devices.size(), 5u);
  EXPECT_EQ(devices[0].name, "nvme0n1");
  EXPECT_EQ(devices[0].model, "KINGSTON SFYR2S1T0");  // padded with blanks in sysfs
  EXPECT_EQ(devices[0].serialNumber, "50026B7283B12B31");
  EXPECT_EQ(devices[0].firmwareRevision, "SGW00110");
  EXPECT_EQ(devices[0].sizeBytes, 2000409264ull * 512);
  EXPECT_EQ(TransportText(devices[0]), "NVMe");
  // libata's "ATA" vendor is not part of the model; the SCSI model holds 16 characters only.
  EXPECT_EQ(devices[1].name, "sda");
  EXPECT_EQ(devices[1].model, "KINGSTON SH103S3");
  EXPECT_EQ(devices[1].firmwareRevision, "BBF0");
  EXPECT_EQ(devices[1].transport, DiskTransport::kAta);
  EXPECT_FALSE(devices[1].packet);
  EXPECT_EQ(devices[2].model, "WDC WD800JD-00MS");
  EXPECT_EQ(devices[3].name, "sdc");
  EXPECT_EQ(devices[3].model, "Linux scsi_debug");
  EXPECT_EQ(TransportText(devices[3]), "SCSI");
  EXPECT_EQ(devices[4].name, "sr0");
  EXPECT_EQ(devices[4].model, "HL-DT-ST DVD+-RW GH82N");
  EXPECT_TRUE(devices[4].packet);
  EXPECT_TRUE(devices[4].removable);
  // No link attributes recorded: the kernel does not say whether the link is serial.
  EXPECT_EQ(TransportText(devices[1]), "ATA");
}

TEST_F(RecordedDesktop, AnOrdinaryUserGetsKernelRowsAndTheReasonWhy) {
  for (const char* name : {"sda", "sdb", "sr0"}) commands.ata[Node(name)].status = kNoPrivilege;
  commands.nvme[Node("nvme0n1")].status = kNoPrivilege;
  const auto rows = Identify();
  ASSERT_EQ(rows.size(), 5u);
  for (const DiskRow& row : rows) EXPECT_EQ(row.source, DiskRowSource::kKernel) << row.deviceName;
  EXPECT_TRUE(rows[0].identifyNeedsPrivilege);
  EXPECT_TRUE(rows[1].identifyNeedsPrivilege);
  EXPECT_FALSE(rows[3].identifyNeedsPrivilege) << "scsi_debug has no identification to refuse";
  EXPECT_EQ(rows[1].identity.diskSize, 2400u);   // 240,057,409,536 bytes
  EXPECT_EQ(rows[2].identity.diskSize, 800u);    // 80,026,361,856 bytes
  EXPECT_EQ(rows[0].identity.diskSize, 10242u);  // 1,024,209,543,168 bytes
  EXPECT_EQ(rows[4].interfaceText, "ATA");
  // The IDE driver is asked only because SCSI generic identified nothing; sdc is never asked.
  const std::vector<std::string> asked{"ata " + Node("sda"),   "ata " + Node("sdb"),
                                       "atapi " + Node("sr0"), "ide " + Node("sda"),
                                       "ide " + Node("sdb"),   "ide " + Node("sr0")};
  EXPECT_EQ(commands.asked, asked);
}

TEST_F(RecordedDesktop, RootGetsTheIdentifyDataAndTheIdeDriverIsNotAskedThen) {
  commands.ata[Node("sdb")] = {kDone, RecordedBlock("utillinux-vpd89_WDC_WD800JD.txt")};
  commands.ata[Node("sda")].status = kRefused;
  commands.ide[Node("sda")] = {kDone, RecordedBlock("libatasmart_ST320410A--3.39.txt")};
  const auto rows = Identify();
  ASSERT_EQ(rows.size(), 5u);
  const DiskRow& wd = rows[2];
  EXPECT_EQ(wd.source, DiskRowSource::kAtaIdentify);
  EXPECT_EQ(wd.identity.model, "WDC WD800JD-00MSA1");
  EXPECT_EQ(wd.identity.firmwareRevision, "10.01E01");
  EXPECT_EQ(wd.identity.ataStandard, "ATA/ATAPI-7");
  EXPECT_EQ(wd.identity.maximumMode, "SATA/300");
  EXPECT_EQ(wd.interfaceText, "SATA");
  EXPECT_EQ(wd.identity.diskSize, 800u);
  EXPECT_EQ(rows[1].source, DiskRowSource::kKernel) << "refused, and the IDE driver not asked";
  for (const std::string& a : commands.asked) EXPECT_NE(a.rfind("ide ", 0), 0u) << a;
}

TEST_F(RecordedDesktop, TheIdeDriverIdentifiesWhereScsiGenericIdentifiesNothing) {
  for (const char* name : {"sda", "sdb", "sr0"}) commands.ata[Node(name)].status = kRefused;
  commands.ide[Node("sda")] = {kDone, RecordedBlock("libatasmart_ST320410A--3.39.txt")};
  const auto rows = Identify();
  EXPECT_EQ(rows[1].source, DiskRowSource::kIdeIdentity);
  EXPECT_EQ(rows[1].identity.model, "ST320410A");
  EXPECT_EQ(rows[1].interfaceText, "IDE");  // a parallel ATA disk: no Serial ATA word
  EXPECT_EQ(rows[2].source, DiskRowSource::kKernel);
}

TEST_F(RecordedDesktop, BlocksNoDeviceSentAreNotBelieved) {
  IdentifyBlock zeros{};
  IdentifyBlock broken = RecordedBlock("utillinux-vpd89_WDC_WD800JD.txt");
  broken[54] ^= 0x01;  // one model byte changed: the checksum in word 255 no longer adds up
  commands.ata[Node("sda")] = {kDone, zeros};
  commands.ata[Node("sdb")] = {kDone, broken};
  const auto rows = Identify();
  EXPECT_EQ(rows[1].source, DiskRowSource::kKernel);
  EXPECT_EQ(rows[2].source, DiskRowSource::kKernel);
  EXPECT_EQ(rows[2].identity.model, "WDC WD800JD-00MS");
}

// Identify data laid out as the NVMe base specification places the fields.
void PutAscii(NvmeIdentifyData& d, size_t at, size_t length, const std::string& text) {
  for (size_t i = 0; i < length; ++i) d[at + i] = i < text.size() ? text[i] : ' ';
}
void PutLittle(NvmeIdentifyData& d, size_t at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) d[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST_F(RecordedDesktop, NvmeIdentifyGivesTheNamespaceSizeVersionAndLink) {
  WriteText(dir.file("sys/devices/pci0000:00/0000:00:1c.4/0000:05:00.0/current_link_speed"),
            "8.0 GT/s PCIe\n");
  WriteText(dir.file("sys/devices/pci0000:00/0000:00:1c.4/0000:05:00.0/current_link_width"), "4\n");
  WriteText(dir.file("sys/devices/pci0000:00/0000:00:1c.4/0000:05:00.0/max_link_speed"),
            "16.0 GT/s PCIe\n");
  WriteText(dir.file("sys/devices/pci0000:00/0000:00:1c.4/0000:05:00.0/max_link_width"), "4\n");
  FakeDiskCommands::NvmeAnswer& answer = commands.nvme[Node("nvme0n1")];
  answer.status = kDone;
  answer.nsid = 1;
  PutAscii(answer.controller, 4, 20, "50026B7283B12B31");
  PutAscii(answer.controller, 24, 40, "KINGSTON SFYR2S1T0");
  PutAscii(answer.controller, 64, 8, "SGW00110");
  PutLittle(answer.controller, 80, 0x00010400, 4);
  // 1953525168 blocks in format 1, whose blocks are 2^12 bytes; format 0 has 2^9.
  PutLittle(answer.nameSpace, 0, 1953525168, 8);
  answer.nameSpace[26] = 1;
  PutLittle(answer.nameSpace, 128, 9u << 16, 4);
  PutLittle(answer.nameSpace, 132, 12u << 16, 4);

  const auto rows = Identify();
  const DiskRow& nvme = rows[0];
  EXPECT_EQ(nvme.source, DiskRowSource::kNvmeIdentify);
  EXPECT_EQ(nvme.identity.model, "KINGSTON SFYR2S1T0");
  EXPECT_EQ(nvme.identity.serialNumber, "50026B7283B12B31");
  EXPECT_EQ(nvme.identity.ataStandard, "NVMe 1.4");
  EXPECT_EQ(nvme.identity.diskSize, 80016u);  // 8,001,639,088,128 bytes
  EXPECT_EQ(nvme.identity.maximumMode, "PCIe 4.0 x4");
  EXPECT_EQ(nvme.identity.currentMode, "PCIe 3.0 x4");
  EXPECT_EQ(nvme.interfaceText, "NVMe");
  // The raw data is the controller block's first 512 bytes: word 2 holds "50" of the serial.
  EXPECT_EQ(nvme.identity.rawData.substr(0, 27), "00000000 00000000 00003035 ");
  EXPECT_EQ(commands.asked.back(), "nvme " + Node("nvme0n1") + " cns 0 nsid 1");
}

TEST(NvmeTexts, VersionsAndLinks) {
  EXPECT_EQ(NvmeVersionText(0x00020001), "NVMe 2.0.1");
  EXPECT_EQ(NvmeVersionText(0x00010300), "NVMe 1.3");
  EXPECT_EQ(NvmeVersionText(0), "NVMe");
  EXPECT_EQ(PcieLinkText("2.5 GT/s PCIe", "1"), "PCIe 1.0 x1");
  EXPECT_EQ(PcieLinkText("32.0 GT/s PCIe", "16"), "PCIe 5.0 x16");
  EXPECT_EQ(PcieLinkText("Unknown", "255"), "");
  EXPECT_EQ(PcieLinkText("", ""), "");
}

TEST(NvmeTexts, ANamespaceFormatOutsideTheTableHasNoSize) {
  NvmeIdentifyData ns{};
  PutLittle(ns, 0, 1000, 8);
  ns[26] = 3;  // format 3 never described: LBADS 0
  EXPECT_EQ(NvmeNamespaceBytes(ns), 0u);
}

TEST(BlockDevices, LeftOutAndOrdered) {
  TempFolder dir;
  for (const char* name : {"loop0", "dm-0", "zram0", "md127", "sdaa", "sdb", "nvme10n1", "nvme2n1",
                           "nvme1c1n1", "sdz", "sdd"}) {
    WriteText(dir.file(std::string("sys/block/") + name + "/size"), "2048\n");
  }
  WriteText(dir.file("sys/block/nvme1c1n1/hidden"), "1\n");  // a multipath path
  WriteText(dir.file("sys/block/sdd/size"), "0\n");          // a card reader without a card
  std::vector<std::string> names;
  for (const BlockDevice& d : ListBlockDevices(dir.path())) names.push_back(d.name);
  EXPECT_EQ(names, (std::vector<std::string>{"nvme2n1", "nvme10n1", "sdb", "sdz", "sdaa"}));
}

TEST(BlockDevices, ALinkOutOfTheRootIsNotFollowed) {
  TempFolder dir, outside;
  WriteText(outside.file("sda/size"), "2048\n");
  WriteText(outside.file("sda/device/model"), "planted\n");
  std::filesystem::create_directories(dir.file("sys/block"));
  std::filesystem::create_directory_symlink(outside.file("sda"), dir.file("sys/block/sda"));
  EXPECT_TRUE(ListBlockDevices(dir.path()).empty());
}

TEST(BlockDevices, UdevKeepsTheWholeModelAndTheSerial) {
  TempFolder dir;
  WriteText(dir.file("sys/block/sda/size"), "2048\n");
  WriteText(dir.file("sys/block/sda/dev"), "8:0\n");
  WriteText(dir.file("sys/block/sda/device/model"), "Samsung SSD 870 \n");
  WriteText(dir.file("run/udev/data/b8:0"),
            "S:disk/by-id/x\nE:ID_MODEL=Samsung_SSD_870_EVO_2TB\n"
            "E:ID_MODEL_ENC=Samsung\\x20SSD\\x20870\\x20EVO\\x202TB\\x20\\x20\n"
            "E:ID_SERIAL_SHORT=S6PNNM0T000000X\nE:ID_REVISION=SVT02B6Q\n");
  const auto devices = ListBlockDevices(dir.path());
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].model, "Samsung SSD 870 EVO 2TB");
  EXPECT_EQ(devices[0].serialNumber, "S6PNNM0T000000X");
  EXPECT_EQ(devices[0].firmwareRevision, "SVT02B6Q");
}

// The real commands, on nodes that are no disk: nothing is identified, nothing hangs.
TEST(LinuxDiskCommands, NodesThatAreNoDisksAnswerWithoutIdentifying) {
  TempFolder dir;
  WriteText(dir.file("plain"), "not a disk");
  LinuxDiskCommands commands;
  IdentifyBlock block{};
  NvmeIdentifyData data{};
  uint32_t nsid = 0;
  EXPECT_EQ(commands.AtaIdentify(dir.file("absent"), false, block), DiskCommandStatus::kCannotOpen);
  EXPECT_EQ(commands.AtaIdentify(dir.file("plain"), false, block), kRefused);
  EXPECT_EQ(commands.IdeIdentity(dir.file("plain"), block), kRefused);
  EXPECT_EQ(commands.NvmeNamespaceId(dir.file("plain"), nsid), kRefused);
  EXPECT_EQ(commands.NvmeIdentify(dir.file("plain"), 1, 0, data), kRefused);
  EXPECT_EQ(commands.AtaIdentify("/dev/null", false, block), kRefused);
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

// The same family of machine in 2018: an NVMe Kingston KC1000 and the two SATA disks, seen by
// an ordinary user.
TEST(RecordedDesktop2018, KernelRowsForAnOrdinaryUser) {
  testing::TempFolder dir;
  testing::CopyRecordedTree("utillinux_desktop-2018-nvme-ssd-hdd", dir.path());
  FakeDiskCommands commands;
  for (const char* name : {"sda", "sdb", "nvme0n1"}) {
    commands.ata[dir.path() + "/dev/" + name].status = DiskCommandStatus::kNoPrivilege;
    commands.nvme[dir.path() + "/dev/" + name].status = DiskCommandStatus::kNoPrivilege;
  }
  const auto rows = IdentifyDisks(ListBlockDevices(dir.path()), commands, dir.path());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].identity.model, "KINGSTON SKC1000240G");
  EXPECT_EQ(rows[0].identity.firmwareRevision, "E7FT04.6");
  EXPECT_EQ(rows[0].identity.serialNumber, "50026B728203601D");
  EXPECT_EQ(rows[0].identity.diskSize, 2400u);  // 468862128 sectors: 240,057,409,536 bytes
  EXPECT_EQ(rows[0].interfaceText, "NVMe");
  EXPECT_EQ(rows[1].identity.model, "KINGSTON SH103S3");
  EXPECT_EQ(rows[2].identity.model, "WDC WD800JD-00MS");
  EXPECT_EQ(rows[2].identity.diskSize, 800u);
  for (const DiskRow& row : rows) EXPECT_TRUE(row.identifyNeedsPrivilege) << row.deviceName;
}

}  // namespace
}  // namespace velora
