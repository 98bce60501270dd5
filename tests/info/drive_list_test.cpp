#include "info/drive_list.h"

#include <gtest/gtest.h>

#include "core/ui_language.h"

namespace velora {
namespace {

std::string Recorded(const std::string& tree) {
  return std::string(VELORA_TESTDATA) + "/sysfs/" + tree;
}

// A 2011 Fedora desktop: three local disks among cgroups, autofs and fuse, a CIFS share and a
// tmpfs of the user's whose name holds a control character.
TEST(DriveList, RecordedFedoraDesktop) {
  const auto rows = ListDrives(Recorded("utillinux_mountinfo_fedora-2011-desktop"),
                               [](const std::string& mountPoint, DriveSpace& space) {
                                 if (mountPoint != "/") return false;
                                 space.totalBytes = 100ull << 30;
                                 space.freeBytes = 25ull << 30;
                                 space.availableBytes = 20ull << 30;  // 5 GiB kept for root
                                 return true;
                               });
  std::vector<std::string> listed;
  for (const DriveRow& row : rows)
    listed.push_back(row.mountPoint + " " + DriveKindText(row, kEnglish));
  EXPECT_EQ(listed,
            (std::vector<std::string>{"/ Hard Disk [ ext3 ]", "/boot Hard Disk [ ext3 ]",
                                      "/home/kzak Hard Disk [ ext4 ]", "/mnt/sounds Network Drive",
                                      "/mnt/test/foo\rbar RAM Drive"}))
      << "the recording's last mount point holds a carriage return, kept as it is";
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(DriveSpaceTexts(rows[0]),
            (std::vector<std::string>{"20.00", "75.00", "100.00", "75.00"}))
      << "free is what the user can write; used counts the blocks kept for root as free, as df";
  EXPECT_EQ(DriveSpaceTexts(rows[1]), (std::vector<std::string>{"", "", "", ""}))
      << "space that cannot be read stays empty";
  EXPECT_EQ(DriveSpaceTexts(rows[3]), (std::vector<std::string>{"", "", "", ""}))
      << "a network drive has no space columns";
}

TEST(DriveList, KindsAndTheirTexts) {
  DriveKind kind;
  MountInfo cd{"/media/cdrom", "iso9660", 11, 0, "/dev/sr0", "/"};
  ASSERT_TRUE(ClassifyMount(cd, "/nonexistent", kind));
  EXPECT_EQ(kind, DriveKind::kCdDvd);
  DriveRow row{"/media/cdrom", "iso9660", kind, false, {}};
  EXPECT_EQ(DriveKindText(row, kJapanese), "CD/DVD ドライブ");
  EXPECT_EQ(DriveSpaceTexts(row), (std::vector<std::string>{"", "", "", ""}));

  MountInfo zram{"/var/tmp", "ext4", 252, 0, "/dev/zram1", "/"};
  ASSERT_TRUE(ClassifyMount(zram, "/nonexistent", kind));
  EXPECT_EQ(kind, DriveKind::kRamDisk);
  MountInfo snap{"/snap/core/1", "squashfs", 7, 1, "/dev/loop1", "/"};
  EXPECT_FALSE(ClassifyMount(snap, "/nonexistent", kind));
  MountInfo run{"/run/lock", "tmpfs", 0, 25, "tmpfs", "/"};
  EXPECT_FALSE(ClassifyMount(run, "/nonexistent", kind));
  MountInfo overlay{"/", "overlay", 0, 40, "overlay", "/"};
  ASSERT_TRUE(ClassifyMount(overlay, "/nonexistent", kind));
  EXPECT_EQ(DriveKindText({"/", "overlay", kind, false, {}}, kJapanese), "不明");
  EXPECT_EQ(DriveKindText({"/", "ext4", DriveKind::kHardDisk, false, {}}, kJapanese),
            "ハードディスク [ ext4 ]");
}

TEST(DriveList, ThisMachinesRootIsAListedDiskWithItsSpace) {
  const auto rows = ListDrives();
  auto root =
      std::find_if(rows.begin(), rows.end(), [](const DriveRow& r) { return r.mountPoint == "/"; });
  ASSERT_NE(root, rows.end());
  if (root->kind != DriveKind::kHardDisk) GTEST_SKIP() << "the root is not a block device here";
  EXPECT_TRUE(root->hasSpace);
  EXPECT_GT(root->space.totalBytes, 0u);
}

}  // namespace
}  // namespace velora
