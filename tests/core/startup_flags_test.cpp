#include "core/startup_flags.h"

#include "core/settings.h"
#include "tests/support/mount_tree.h"
#include "tests/support/temp_folder.h"

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

class MountTreeStartupTest : public testing::MountTreeTest {
 protected:
  bool Unsafe(const std::string& folder) {
    return ProbeStartupEnvironment(folder, dir.path()).programOnNetworkOrRemovable;
  }
};

TEST_F(MountTreeStartupTest, NetworkOpticalAndRemovableFoldersAreUnsafe) {
  EXPECT_TRUE(Unsafe("/mnt/share/velora"));
  EXPECT_TRUE(Unsafe("/mnt/smb disk/velora"));
  EXPECT_TRUE(Unsafe("/media/cdrom"));
  EXPECT_TRUE(Unsafe("/media/stick/velora"));
  EXPECT_FALSE(Unsafe("/home/u/velora"));
  EXPECT_FALSE(Unsafe("/opt/velora"));
}

TEST(StartupEnvironment, MissingMountTableMeansNoSafeMode) {
  TempFolder dir;
  EXPECT_FALSE(ProbeStartupEnvironment("/opt/velora", dir.path()).programOnNetworkOrRemovable);
}

}  // namespace
}  // namespace velora
