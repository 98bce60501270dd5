#pragma once
// The Disk page's drive list: the mounted file systems a user cares about, in mount order, each
// with its kind and, for local disks, its space.

#include <functional>
#include <string>
#include <vector>

#include "platform/mount_query.h"

namespace velora {

enum class DriveKind { kHardDisk, kCdDvd, kNetwork, kRemovable, kRamDisk, kUnknown };

struct DriveSpace {
  unsigned long long totalBytes = 0;
  unsigned long long freeBytes = 0;       // every free block, those kept for root among them
  unsigned long long availableBytes = 0;  // what an ordinary user can still write
};

struct DriveRow {
  std::string mountPoint;
  std::string fsType;
  DriveKind kind = DriveKind::kUnknown;
  bool hasSpace = false;  // local disks whose space could be read
  DriveSpace space;
};

// The kind of a mount; false when the mount is not listed at all
// (kernel pseudo file systems, system tmpfs, squashfs images).
bool ClassifyMount(const MountInfo& mount, const std::string& root, DriveKind& kind);

// Space of a mounted folder; false when it cannot be read.
using SpaceQuery = std::function<bool(const std::string& mountPoint, DriveSpace& space)>;
bool StatvfsSpace(const std::string& mountPoint, DriveSpace& space);

std::vector<DriveRow> ListDrives(const std::string& root = "",
                                 const SpaceQuery& space = StatvfsSpace);

// "Hard Disk [ ext4 ]", "CD/DVD Drive", ... in the interface language.
std::string DriveKindText(const DriveRow& row, int language);
// Free (what the user can write, as df's "Avail"), used (total less every free block, as df's
// "Used"), size (GiB, "%.2f") and usage ("%.2f" of used / total x 100); empty without space.
std::vector<std::string> DriveSpaceTexts(const DriveRow& row);

}  // namespace velora
