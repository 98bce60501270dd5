// The Disk page's cells, detail panel and drive list, and what safe mode leaves out.

#include "info/disk_page_data.h"

#include <gtest/gtest.h>

#include "core/ui_language.h"
#include "platform/fake/fake_disk_commands.h"
#include "tests/support/mount_tree.h"

namespace velora {
namespace {

// 250 x 10^9 bytes by LBA48 (488281250 sectors), a 4096-word buffer, a Serial ATA 3 Gb/s disk.
DiskRow Disk250() {
  IdentifyWords w{};
  const char* model = "TEST DISK 250                           ";
  for (int i = 0; i < 20; ++i)
    w[27 + i] = static_cast<uint16_t>(model[2 * i] << 8 | model[2 * i + 1]);
  w[10] = ' ' << 8 | 'A';
  w[11] = ' ' << 8 | 'B';
  w[21] = 4096;
  w[60] = 0xFFFF;
  w[61] = 0x0FFF;  // LBA28 at its limit: 268435455 sectors
  w[100] = static_cast<uint16_t>(488281250 & 0xFFFF);
  w[101] = static_cast<uint16_t>(488281250 >> 16);
  w[76] = 0x0004;
  w[80] = 0x00FE;
  w[88] = 0x207F;
  return AtaDiskRow(w, "sda");
}

TEST(DiskPageData, CellsOfAnIdentifiedDisk) {
  const DiskListRow cells = DiskListCells(Disk250());
  EXPECT_EQ(cells[0], "TEST DISK 250");
  EXPECT_EQ(cells[1], "SATA");
  EXPECT_EQ(cells[2], "250.0");
  EXPECT_EQ(cells[3], "2048");
  EXPECT_EQ(cells[4], "0.0");    // no CHS words
  EXPECT_EQ(cells[5], "137.4");  // 268435455 x 512 = 137,438,952,960 bytes
  EXPECT_EQ(cells[6], "250.0");
  EXPECT_EQ(cells[7], "AB");
  EXPECT_EQ(cells[9], "ATA/ATAPI-7");
  EXPECT_EQ(cells[10], "SATA/300");
  EXPECT_EQ(cells[11], "Ultra DMA/100");
  EXPECT_EQ(cells[12].size(), 32u * (8 * 8 + 7 + 2));
}

TEST(DiskPageData, AKernelRowLeavesTheAtaFiguresEmpty) {
  BlockDevice vda;
  vda.name = "vda";
  vda.transport = DiskTransport::kVirtio;
  vda.model = "Virtio Block Device";
  vda.sizeBytes = 42949672960ull;
  FakeDiskCommands none;
  const auto rows = IdentifyDisks({vda}, none);
  const DiskListRow cells = DiskListCells(rows.at(0));
  EXPECT_EQ(cells[1], "VIRT");
  EXPECT_EQ(cells[2], "42.9");  // 42,949,672,960 bytes
  EXPECT_EQ(cells[3], "");
  EXPECT_EQ(cells[4], "");
  EXPECT_EQ(cells[6], "");
  EXPECT_TRUE(none.asked.empty()) << "a virtio disk has no identification command";
}

TEST(DiskPageData, TheDetailPanelFollowsTheRowShownAndIgnoresClicksBeside) {
  FakeDiskCommands none;
  BlockDevice vda;
  vda.name = "vda";
  vda.transport = DiskTransport::kVirtio;
  vda.sizeBytes = 1'000'000'000;
  std::vector<DiskRow> rows = IdentifyDisks({vda}, none);
  rows.insert(rows.begin(), Disk250());
  rows[0].identifyNeedsPrivilege = false;
  rows[1].identifyNeedsPrivilege = true;
  DiskPageData page = MakeDiskPageData(rows, {});
  EXPECT_EQ(page.shownRow, 0);
  EXPECT_EQ(page.detail.model, " TEST DISK 250");
  EXPECT_EQ(page.detail.serialNumber, " AB");
  EXPECT_EQ(page.detail.ata, " ATA/ATAPI-7");
  EXPECT_EQ(page.detail.bufferSize, "2048");
  EXPECT_FALSE(ShowDiskRow(page, 2));
  EXPECT_FALSE(ShowDiskRow(page, -1));
  EXPECT_EQ(page.shownRow, 0);
  ASSERT_TRUE(ShowDiskRow(page, 1));
  EXPECT_EQ(page.detail.interfaceText, "VIRT");
  EXPECT_TRUE(page.detail.needsPrivilege);
  const PageView en = DiskPageView(page, kEnglish), ja = DiskPageView(page, kJapanese);
  EXPECT_EQ(en.groups.at(0).title, "Disk ( IDE Only )");
  EXPECT_NE(en.groups[0].fields.back().value.find("root"), std::string::npos);
  EXPECT_NE(ja.groups[0].fields.back().value.find("root"), std::string::npos);
  EXPECT_NE(en.groups[0].fields.back().value, ja.groups[0].fields.back().value);
  EXPECT_EQ(en.tables.at(0).columns.size(), 12u) << "the raw words stay out of the table";
}

class DiskPageDrives : public testing::MountTreeTest {};

TEST_F(DiskPageDrives, SafeModeAsksNoDiskButStillListsTheDrives) {
  FakeDiskCommands commands;
  std::vector<std::string> log;
  DiskPageSources sources(commands);
  sources.safeMode = true;
  sources.root = dir.path();
  sources.log = [&](const std::string& line) { log.push_back(line); };
  sources.space = [](const std::string&, DriveSpace& s) {
    s = {100ull << 30, 25ull << 30, 20ull << 30};
    return true;
  };
  testing::WriteText(dir.file("sys/block/sda/size"), "2048\n");
  testing::WriteText(dir.file("sys/block/sda/device/vendor"), "ATA\n");
  DiskPageData page = ReadDiskPageData(sources);
  EXPECT_TRUE(page.devices.empty());
  EXPECT_TRUE(commands.asked.empty());
  EXPECT_TRUE(log.empty());
  ASSERT_FALSE(page.drives.empty());

  const PageView view = DiskPageView(page, kEnglish);
  const PageTable& drives = view.tables.at(1);
  EXPECT_EQ(drives.columns.at(1), "Type");
  EXPECT_EQ(drives.columns.at(2), "Free [GiB]");
  EXPECT_EQ(drives.rows.at(0), (std::vector<std::string>{"/", "Hard Disk [ ext4 ]", "20.00",
                                                         "75.00", "100.00", "75.00"}));
  // The CD row: a kind, no space.
  bool cd = false;
  for (const auto& row : drives.rows) {
    if (row[0] != "/media/cdrom") continue;
    cd = true;
    EXPECT_EQ(row, (std::vector<std::string>{"/media/cdrom", "CD/DVD Drive", "", "", "", ""}));
  }
  EXPECT_TRUE(cd);
  EXPECT_EQ(DiskPageView(page, kJapanese).tables.at(1).columns.at(1), "タイプ");

  sources.safeMode = false;
  ReadDiskPageData(sources);
  EXPECT_EQ(log, (std::vector<std::string>{"Get HDD Infomation Start", "Get HDD Infomation OK!"}));
}

}  // namespace
}  // namespace velora
