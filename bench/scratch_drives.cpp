#include "bench/scratch_drives.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "core/ui_language.h"
#include "platform/mount_query.h"

namespace velora {
namespace {

// Block-device file systems no scratch file can be written to.
bool ReadOnlyImage(const std::string& fsType) {
  static constexpr std::array<std::string_view, 6> kImages{"squashfs", "iso9660", "udf",
                                                           "erofs",    "cramfs",  "romfs"};
  return std::find(kImages.begin(), kImages.end(), fsType) != kImages.end();
}

bool Writable(const std::string& path) { return access(path.c_str(), W_OK | X_OK) == 0; }

}  // namespace

bool IsFixedDiskMount(const MountInfo& m, const std::string& root) {
  if (m.source.rfind("/dev/", 0) != 0 || ReadOnlyImage(m.fsType)) return false;
  // A bind mount of a folder or file of another mount is not a disk of its own; btrfs
  // subvolumes are mounted that way and are.
  if (m.fsRoot != "/" && m.fsType != "btrfs") return false;
  return !IsRemovableMount(m, root);
}

std::vector<ScratchDrive> ListScratchDrives(const std::string& root) {
  std::vector<ScratchDrive> drives;
  for (const MountInfo& m : ListMounts(root)) {
    std::erase_if(drives, [&](const ScratchDrive& d) { return d.mountPoint == m.mountPoint; });
    bool network = IsNetworkFileSystem(m.fsType);
    if (!network && !IsFixedDiskMount(m, root)) continue;
    drives.push_back({m.mountPoint, m.fsType, network});
  }
  return drives;
}

std::string ScratchDriveText(const ScratchDrive& drive, int language) {
  const char* kind = language == kEnglish
                         ? (drive.network ? " : Network" : " : HardDisk")
                         : (drive.network ? " : ネットワーク" : " : ハードディスク");
  return drive.mountPoint + kind + " [" + drive.fsType + "]";
}

std::string ScratchParentFolder(const ScratchDrive& drive, const std::string& home,
                                const std::string& root,
                                std::function<bool(const std::string&)> writable) {
  if (!writable) writable = Writable;
  if (writable(root + drive.mountPoint)) return drive.mountPoint;
  MountInfo homeMount;
  if (!home.empty() && MountOfPath(home, homeMount, root) &&
      homeMount.mountPoint == drive.mountPoint && writable(root + home)) {
    return home;
  }
  return drive.mountPoint;
}

}  // namespace velora
