#pragma once
// A machine's mount table and block-device flags under a root folder of the test's own.

#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace velora::testing {

// Lines as /proc/self/mountinfo gives them on a desktop with a share and a CD mounted.
constexpr const char* kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
    "30 22 0:45 / /mnt/share rw,relatime shared:9 - nfs4 srv:/export rw,vers=4.2\n"
    "31 22 0:46 / /mnt/smb\\040disk rw,relatime - cifs //srv/d rw\n"
    "32 22 11:0 / /media/cdrom ro,relatime - iso9660 /dev/sr0 ro\n"
    "33 22 8:17 / /media/stick rw,relatime - vfat /dev/sdb1 rw\n"
    "34 22 8:2 / /home rw,relatime - ext4 /dev/sda2 rw\n";

class MountTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(dir.file("proc/self/mountinfo"), kMountInfo);
    // As sysfs links them: a partition has no flag of its own, its disk has.
    WriteText(dir.file("sys/block/sdb/sdb1/partition"), "1\n");
    WriteText(dir.file("sys/block/sdb/removable"), "1\n");
    WriteText(dir.file("sys/block/sda/sda2/partition"), "2\n");
    WriteText(dir.file("sys/block/sda/removable"), "0\n");
    std::filesystem::create_directories(dir.file("sys/dev/block"));
    std::filesystem::create_directory_symlink("../../block/sdb/sdb1",
                                              dir.file("sys/dev/block/8:17"));
    std::filesystem::create_directory_symlink("../../block/sda/sda2",
                                              dir.file("sys/dev/block/8:2"));
  }
  TempFolder dir;
};

}  // namespace velora::testing
