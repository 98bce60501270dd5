#include "app/startup_flags.h"

#include "app/settings.h"
#include "app_test_support.h"
#include "platform/mount_query.h"

namespace velora {
namespace {

using testing::TempFolder;
using testing::WriteText;

TEST(StartupFlags, SafeModeAboveZeroButNoWmiOnlyAtExactlyOne) {
  StartupEnvironment local;
  EXPECT_EQ(ComputeStartupFlags(0, 0, 0, local), 0u);
  EXPECT_EQ(ComputeStartupFlags(2, 0, 0, local), kSafeMode);
  EXPECT_EQ(ComputeStartupFlags(0, 0, 2, local), 0u);
  EXPECT_EQ(ComputeStartupFlags(0, 0, 1, local), kNoWmi);
  EXPECT_EQ(ComputeStartupFlags(0, 1, 0, local), kPc98Mode);
  EXPECT_EQ(ComputeStartupFlags(-1, -1, -1, local), 0u);
}

TEST(StartupFlags, ProgramOnNetworkOrRemovableMediumRunsInSafeMode) {
  StartupEnvironment remote;
  remote.programOnNetworkOrRemovable = true;
  EXPECT_EQ(ComputeStartupFlags(0, 0, 0, remote), kSafeMode);
}

TEST(StartupFlags, FromTheSettingsFile) {
  TempFolder dir;
  WriteText(dir.file("v.ini"), "[Setting]\nSafeMode=2\nDisableWMI=2\nPC-98Mode=1\n");
  WriteText(dir.file("root/proc/self/mountinfo"),
            "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n");
  EXPECT_EQ(StartupFlagsFor(Settings(dir.file("v.ini")), "/opt/velora", dir.file("root")),
            kSafeMode | kPc98Mode);
}

// Lines as /proc/self/mountinfo gives them on a desktop with a share and a CD mounted.
constexpr const char* kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
    "30 22 0:45 / /mnt/share rw,relatime shared:9 - nfs4 srv:/export rw,vers=4.2\n"
    "31 22 0:46 / /mnt/smb\\040disk rw,relatime - cifs //srv/d rw\n"
    "32 22 11:0 / /media/cdrom ro,relatime - iso9660 /dev/sr0 ro\n"
    "33 22 8:17 / /media/stick rw,relatime - vfat /dev/sdb1 rw\n"
    "34 22 8:2 / /home rw,relatime - ext4 /dev/sda2 rw\n";

class MountQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir.file("proc/self/mountinfo"), kMountInfo);
    // As sysfs links them: a partition has no flag of its own, its disk has.
    WriteText(dir.file("sys/block/sdb/sdb1/partition"), "1\n");
    WriteText(dir.file("sys/block/sdb/removable"), "1\n");
    WriteText(dir.file("sys/block/sda/sda2/partition"), "2\n");
    WriteText(dir.file("sys/block/sda/removable"), "0\n");
    std::filesystem::create_directories(dir.file("sys/dev/block"));
    std::filesystem::create_directory_symlink("../../block/sdb/sdb1", dir.file("sys/dev/block/8:17"));
    std::filesystem::create_directory_symlink("../../block/sda/sda2", dir.file("sys/dev/block/8:2"));
  }
  bool Unsafe(const std::string& folder) {
    return ProbeStartupEnvironment(folder, dir.path()).programOnNetworkOrRemovable;
  }
  TempFolder dir;
};

TEST_F(MountQueryTest, LongestMountPointHoldsThePath) {
  MountInfo m;
  ASSERT_TRUE(MountOfPath("/mnt/share/velora", m, dir.path()));
  EXPECT_EQ(m.mountPoint, "/mnt/share");
  EXPECT_EQ(m.fsType, "nfs4");
  ASSERT_TRUE(MountOfPath("/mnt/shared", m, dir.path()));
  EXPECT_EQ(m.mountPoint, "/") << "a name that only begins like a mount point is not in it";
  ASSERT_TRUE(MountOfPath("/mnt/smb disk/v", m, dir.path()));
  EXPECT_EQ(m.fsType, "cifs");
}

TEST_F(MountQueryTest, NetworkOpticalAndRemovableFoldersAreUnsafe) {
  EXPECT_TRUE(Unsafe("/mnt/share/velora"));
  EXPECT_TRUE(Unsafe("/mnt/smb disk/velora"));
  EXPECT_TRUE(Unsafe("/media/cdrom"));
  EXPECT_TRUE(Unsafe("/media/stick/velora"));
  EXPECT_FALSE(Unsafe("/home/u/velora"));
  EXPECT_FALSE(Unsafe("/opt/velora"));
}

TEST(MountQuery, MissingMountTableMeansNoSafeMode) {
  TempFolder dir;
  EXPECT_FALSE(ProbeStartupEnvironment("/opt/velora", dir.path()).programOnNetworkOrRemovable);
}

TEST(MountQuery, NetworkFileSystemNames) {
  EXPECT_TRUE(IsNetworkFileSystem("nfs"));
  EXPECT_TRUE(IsNetworkFileSystem("cifs"));
  EXPECT_TRUE(IsNetworkFileSystem("fuse.sshfs"));
  EXPECT_FALSE(IsNetworkFileSystem("ext4"));
  EXPECT_FALSE(IsNetworkFileSystem("tmpfs"));
}

}  // namespace
}  // namespace velora
