#pragma once
// The "HDD" list of the Mark page: the mounted file systems a scratch file may go on, each a
// local disk or a network share, in mount order.

#include <functional>
#include <string>
#include <vector>

namespace velora {

struct ScratchDrive {
  std::string mountPoint;
  std::string fsType;
  bool network = false;  // otherwise a local block-device file system, a "fixed disk"
};

// Read from <root>/proc/self/mountinfo; removable media, read-only images (squashfs, iso9660,
// ...), pseudo file systems and bind mounts of single folders or files are left out. A mount
// point mounted over again counts once, as what is mounted last.
std::vector<ScratchDrive> ListScratchDrives(const std::string& root = "");

struct MountInfo;

// A local block-device file system that is no removable medium nor read-only image.
bool IsFixedDiskMount(const MountInfo& mount, const std::string& root = "");

// "/home : HardDisk [ext4]", "/mnt/nas : Network [nfs4]"; Japanese with " : ハードディスク" and
// " : ネットワーク".
std::string ScratchDriveText(const ScratchDrive& drive, int language);

// Where the scratch folder is made: the mount point when this user may write there, else the
// user's home folder when it lies on that file system, else the mount point all the same (the
// writability check of the run then says so).
// writable asks whether this user may make a folder in a path (access(2) when empty).
std::string ScratchParentFolder(const ScratchDrive& drive, const std::string& home,
                                const std::string& root = "",
                                std::function<bool(const std::string&)> writable = {});

}  // namespace velora
