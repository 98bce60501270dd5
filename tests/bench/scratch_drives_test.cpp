#include "bench/scratch_drives.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/ui_language.h"

namespace velora {
namespace {

// A workstation as mountinfo shows it: pseudo file systems, two disks, a btrfs subvolume, a
// snap image, a USB stick, two shares, a container's file bind mount and a folder mounted twice.
constexpr const char* kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "23 22 0:21 / /proc rw - proc proc rw\n"
    "24 22 0:6 / /dev rw - devtmpfs devtmpfs rw\n"
    "25 22 0:23 / /tmp rw - tmpfs tmpfs rw\n"
    "26 22 0:40 /@home /home rw - btrfs /dev/nvme0n1p2 rw\n"
    "27 22 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro\n"
    "28 22 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
    "29 22 0:45 / /mnt/nas rw - nfs4 nas:/export rw\n"
    "30 22 0:46 / /mnt/smb\\040share rw - cifs //srv/d rw\n"
    "31 22 8:1 /var/lib/c/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
    "32 22 8:33 / /data rw - xfs /dev/sdc1 rw\n"
    "33 22 0:47 / /data rw - tmpfs tmpfs rw\n"
    "34 22 8:49 / /srv rw - tmpfs tmpfs rw\n"
    "35 34 8:49 / /srv rw - ext4 /dev/sdd1 rw\n";

class ScratchDrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("velora-drives-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    Write("proc/self/mountinfo", kMountInfo);
    Write("sys/block/sdb/removable", "1\n");
    Write("sys/block/sdb/sdb1/partition", "1\n");
    std::filesystem::create_directories(root_ / "sys/dev/block");
    std::filesystem::create_directory_symlink("../../block/sdb/sdb1", root_ / "sys/dev/block/8:17");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  void Write(const std::string& rel, const std::string& text) {
    std::filesystem::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel) << text;
  }
  std::string root() const { return root_.string(); }

  std::filesystem::path root_;
};

TEST_F(ScratchDrivesTest, LocalDisksAndSharesInMountOrder) {
  std::vector<ScratchDrive> drives = ListScratchDrives(root());
  std::vector<std::string> english;
  for (const ScratchDrive& d : drives) english.push_back(ScratchDriveText(d, kEnglish));
  // The tmpfs over /data hides the xfs disk; the ext4 over /srv counts as mounted last.
  EXPECT_EQ(english,
            (std::vector<std::string>{
                "/ : HardDisk [ext4]", "/home : HardDisk [btrfs]", "/mnt/nas : Network [nfs4]",
                "/mnt/smb share : Network [cifs]", "/srv : HardDisk [ext4]"}));
  ASSERT_EQ(drives.size(), 5u);
  EXPECT_FALSE(drives[0].network);
  EXPECT_TRUE(drives[2].network);
}

TEST_F(ScratchDrivesTest, JapaneseTexts) {
  std::vector<ScratchDrive> drives = ListScratchDrives(root());
  ASSERT_GE(drives.size(), 3u);
  EXPECT_EQ(ScratchDriveText(drives[0], kJapanese), "/ : ハードディスク [ext4]");
  EXPECT_EQ(ScratchDriveText(drives[2], kJapanese), "/mnt/nas : ネットワーク [nfs4]");
}

TEST_F(ScratchDrivesTest, NoMountTableGivesAnEmptyList) {
  std::filesystem::remove(root_ / "proc/self/mountinfo");
  EXPECT_TRUE(ListScratchDrives(root()).empty());
}

TEST_F(ScratchDrivesTest, UnwritableMountPointFallsBackToTheHomeOnIt) {
  ScratchDrive home{"/home", "btrfs", false};
  ScratchDrive rootDrive{"/", "ext4", false};
  auto onlyUnderHome = [&](const std::string& p) { return p == root() + "/home/ann"; };
  EXPECT_EQ(ScratchParentFolder(home, "/home/ann", root(), onlyUnderHome), "/home/ann");
  // The home is not on "/", so "/" stays and the run's writability check reports it.
  EXPECT_EQ(ScratchParentFolder(rootDrive, "/home/ann", root(), onlyUnderHome), "/");
  auto everything = [](const std::string&) { return true; };
  EXPECT_EQ(ScratchParentFolder(home, "/home/ann", root(), everything), "/home");
}

}  // namespace
}  // namespace velora
