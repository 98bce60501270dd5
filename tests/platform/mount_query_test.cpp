#include "platform/mount_query.h"

#include <gtest/gtest.h>

#include "tests/support/mount_tree.h"

namespace velora {
namespace {

using MountQueryTest = testing::MountTreeTest;

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

// Only blanks separate the fields: a carriage return or form feed in a folder name is part of it,
// and cutting the name there would name another folder.
TEST(MountQuery, ControlCharactersStayInTheMountPoint) {
  testing::TempFolder dir;
  testing::WriteText(dir.file("proc/self/mountinfo"),
                     "20 1 8:4 / / rw - ext4 /dev/sda4 rw\n"
                     "49 20 0:56 / /mnt/foo\rbar rw shared:3 - tmpfs tmp\fs rw\n"
                     "50 20 0:57 / /mnt/a\\040b rw - tmpfs tmpfs rw\n"
                     "51 20 0:58 / /broken rw\n");
  const auto mounts = ListMounts(dir.path());
  ASSERT_EQ(mounts.size(), 3u) << "a line without the separator is skipped";
  EXPECT_EQ(mounts[1].mountPoint, "/mnt/foo\rbar");
  EXPECT_EQ(mounts[1].fsType, "tmpfs");
  EXPECT_EQ(mounts[1].source, "tmp\fs");
  EXPECT_EQ(mounts[2].mountPoint, "/mnt/a b");
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
