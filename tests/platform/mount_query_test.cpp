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

TEST(MountQuery, NetworkFileSystemNames) {
  EXPECT_TRUE(IsNetworkFileSystem("nfs"));
  EXPECT_TRUE(IsNetworkFileSystem("cifs"));
  EXPECT_TRUE(IsNetworkFileSystem("fuse.sshfs"));
  EXPECT_FALSE(IsNetworkFileSystem("ext4"));
  EXPECT_FALSE(IsNetworkFileSystem("tmpfs"));
}

}  // namespace
}  // namespace velora
