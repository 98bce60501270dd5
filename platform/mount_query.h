#pragma once
// Which kind of file system holds a path: what decides whether the program runs from a
// network share or a removable medium.

#include <string>
#include <vector>

namespace velora {

struct MountInfo {
  std::string mountPoint;
  std::string fsType;
  unsigned major = 0;
  unsigned minor = 0;
  std::string source;  // the device or share ("/dev/vda1", "server:/export")
  std::string fsRoot;  // the folder of the file system mounted here; "/" unless a bind mount
};

// Every mount of <root>/proc/self/mountinfo in mount order; empty when it cannot be read.
std::vector<MountInfo> ListMounts(const std::string& root = "");

// The mount that holds path (longest mount point that is a prefix of it), read from
// <root>/proc/self/mountinfo; false when it cannot be found.
bool MountOfPath(const std::string& path, MountInfo& mount, const std::string& root = "");

// NFS, SMB/CIFS, SSHFS and the other file systems reached over a network.
bool IsNetworkFileSystem(const std::string& fsType);

// Optical file systems, or a block device (or its parent disk) whose sysfs "removable" flag
// is 1 under <root>/sys/dev/block/MAJ:MIN.
bool IsRemovableMount(const MountInfo& mount, const std::string& root = "");

}  // namespace velora
