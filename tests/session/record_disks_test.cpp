#include "session/record_disks.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_disk_commands.h"
#include "platform/replay/recorded_identify.h"

namespace velora {
namespace {

BlockDevice Disk(const char* name, DiskTransport transport) {
  BlockDevice d;
  d.name = name;
  d.transport = transport;
  return d;
}

TEST(RecordDisks, EachDiskIsAskedAsThePageAsksAndKeptWithoutItsSerial) {
  FakeDiskCommands commands;
  IdentifyBlock ata{};
  ata[0] = 0x40;
  for (size_t i = 20; i < 40; ++i) ata[i] = 'S';   // serial words 10-19
  for (size_t i = 54; i < 94; ++i) ata[i] = 'M';   // model words 27-46
  commands.ata["/dev/sda"] = {DiskCommandStatus::kDone, ata};
  commands.ata["/dev/sdb"] = {DiskCommandStatus::kNoPrivilege, {}};
  commands.ide["/dev/sdc"] = {DiskCommandStatus::kDone, ata};  // the IDE driver's copy
  FakeDiskCommands::NvmeAnswer nvme;
  nvme.status = DiskCommandStatus::kDone;
  nvme.nsid = 2;
  nvme.controller.fill('C');
  nvme.nameSpace.fill(0x11);
  commands.nvme["/dev/nvme0n2"] = nvme;

  const DiskFiles read = ReadDiskFiles(
      {Disk("sda", DiskTransport::kAta), Disk("sdb", DiskTransport::kAta),
       Disk("sdc", DiskTransport::kAta), Disk("nvme0n2", DiskTransport::kNvme),
       Disk("vda", DiskTransport::kVirtio), Disk("sdd", DiskTransport::kUsb)},
      commands, false);

  EXPECT_EQ(read.identified, 3);
  EXPECT_EQ(read.missing, (std::vector<std::string>{"sdb needs root for identification",
                                                    "vda does not answer identification",
                                                    "sdd does not answer identification"}));
  ASSERT_EQ(read.files.size(), 4u);
  const std::string names[] = {"sda.identify.txt", "sdc.identify.txt", "nvme0n2.nvme-ctrl.bin",
                               "nvme0n2.nvme-ns2.bin"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(read.files[i].name, names[i]);
  IdentifyBlock back{};
  std::string error;
  ASSERT_TRUE(ParseIdentifyText(read.files[0].bytes, back, error)) << error;
  EXPECT_EQ(std::string(back.begin() + 20, back.begin() + 40), std::string(20, ' '));
  EXPECT_EQ(std::string(back.begin() + 54, back.begin() + 94), std::string(40, 'M'));
  const std::string& controller = read.files[2].bytes;
  ASSERT_EQ(controller.size(), 4096u);
  EXPECT_EQ(controller.substr(4, 20), std::string(20, ' '));
  EXPECT_EQ(controller.substr(24, 40), std::string(40, 'C'));
  EXPECT_EQ(read.files[3].bytes.substr(104, 24), std::string(24, '\0'));
  // Nothing but disks of the kinds the page identifies was asked.
  for (const std::string& asked : commands.asked) {
    EXPECT_EQ(asked.find("vda"), std::string::npos);
    EXPECT_EQ(asked.find("sdd"), std::string::npos);
  }
}

TEST(RecordDisks, WithSerialsTheBlocksAreKeptAsGiven) {
  FakeDiskCommands commands;
  IdentifyBlock ata{};
  for (size_t i = 20; i < 40; ++i) ata[i] = 'S';
  commands.ata["/dev/sda"] = {DiskCommandStatus::kDone, ata};
  const DiskFiles read = ReadDiskFiles({Disk("sda", DiskTransport::kAta)}, commands, true);
  ASSERT_EQ(read.files.size(), 1u);
  EXPECT_EQ(read.files[0].bytes, IdentifyText(ata));
}

}  // namespace
}  // namespace velora
