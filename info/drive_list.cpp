#include "info/drive_list.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cstdio>

#include "core/ui_language.h"

namespace velora {

namespace {

// Kernel and system file systems: nothing a user keeps files on.
constexpr const char* kPseudoTypes[] = {
    "proc",        "sysfs",      "devtmpfs",   "devpts",          "cgroup",
    "cgroup2",     "autofs",     "mqueue",     "hugetlbfs",       "binfmt_misc",
    "fusectl",     "securityfs", "debugfs",    "tracefs",         "pstore",
    "bpf",         "configfs",   "rpc_pipefs", "efivarfs",        "nsfs",
    "usbfs",       "selinuxfs",  "squashfs",   "fuse.gvfsd-fuse", "fuse.gvfs-fuse-daemon",
    "fuse.portal", "fuse.lxcfs", "nfsd"};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool UnderSystemFolder(const std::string& path) {
  for (const char* folder : {"/proc", "/sys", "/dev", "/run"}) {
    const std::string f = folder;
    if (path == f || StartsWith(path, (f + "/").c_str())) {
      // A user's own runtime folder is theirs.
      return !(StartsWith(path, "/run/user/") || StartsWith(path, "/run/media/"));
    }
  }
  return false;
}

bool BindOfSingleFile(const MountInfo& mount, const std::string& root) {
  if (mount.fsRoot.empty() || mount.fsRoot == "/") return false;
  struct stat info {};
  return stat((root + mount.mountPoint).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Gb(unsigned long long bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(bytes) / 1073741824.0);
  return text;
}

}  // namespace

bool ClassifyMount(const MountInfo& mount, const std::string& root, DriveKind& kind) {
  const std::string& type = mount.fsType;
  if (std::find(std::begin(kPseudoTypes), std::end(kPseudoTypes), type) != std::end(kPseudoTypes))
    return false;
  if (BindOfSingleFile(mount, root)) return false;
  if (IsNetworkFileSystem(type)) {
    kind = DriveKind::kNetwork;
  } else if (type == "iso9660" || type == "udf") {
    kind = DriveKind::kCdDvd;
  } else if (type == "tmpfs" || type == "ramfs" || StartsWith(mount.source, "/dev/zram")) {
    if (UnderSystemFolder(mount.mountPoint)) return false;
    kind = DriveKind::kRamDisk;
  } else if (IsRemovableMount(mount, root)) {
    kind = DriveKind::kRemovable;
  } else if (StartsWith(mount.source, "/dev/") && mount.major != 0) {
    kind = DriveKind::kHardDisk;
  } else {
    // fuse without a device, overlay roots of containers and the like.
    if (StartsWith(type, "fuse.") || UnderSystemFolder(mount.mountPoint)) return false;
    kind = DriveKind::kUnknown;
  }
  return true;
}

bool StatvfsSpace(const std::string& mountPoint, DriveSpace& space) {
  struct statvfs s {};
  if (statvfs(mountPoint.c_str(), &s) != 0 || s.f_blocks == 0) return false;
  space.totalBytes = static_cast<unsigned long long>(s.f_blocks) * s.f_frsize;
  space.freeBytes = static_cast<unsigned long long>(s.f_bfree) * s.f_frsize;
  space.availableBytes = static_cast<unsigned long long>(s.f_bavail) * s.f_frsize;
  return true;
}

std::vector<DriveRow> ListDrives(const std::string& root, const SpaceQuery& space) {
  std::vector<DriveRow> rows;
  for (const MountInfo& mount : ListMounts(root)) {
    DriveRow row;
    if (!ClassifyMount(mount, root, row.kind)) continue;
    row.mountPoint = mount.mountPoint;
    row.fsType = mount.fsType;
    if (row.kind == DriveKind::kHardDisk && space)
      row.hasSpace = space(mount.mountPoint, row.space);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string DriveKindText(const DriveRow& row, int language) {
  const bool english = language == kEnglish;
  switch (row.kind) {
    case DriveKind::kHardDisk:
      return std::string(english ? "Hard Disk" : "ハードディスク") + " [ " + row.fsType + " ]";
    case DriveKind::kCdDvd: return english ? "CD/DVD Drive" : "CD/DVD ドライブ";
    case DriveKind::kNetwork: return english ? "Network Drive" : "ネットワークドライブ";
    case DriveKind::kRemovable: return english ? "Removable Drive" : "リムーバブルドライブ";
    case DriveKind::kRamDisk: return english ? "RAM Drive" : "RAM ドライブ";
    case DriveKind::kUnknown: break;
  }
  return english ? "Unknown" : "不明";
}

std::vector<std::string> DriveSpaceTexts(const DriveRow& row) {
  if (!row.hasSpace || row.space.totalBytes == 0) return {"", "", "", ""};
  const unsigned long long free = std::min(row.space.freeBytes, row.space.totalBytes);
  const unsigned long long available = std::min(row.space.availableBytes, free);
  const unsigned long long used = row.space.totalBytes - free;
  char usage[32];
  std::snprintf(usage, sizeof usage, "%.2f",
                static_cast<double>(used) / static_cast<double>(row.space.totalBytes) * 100.0);
  return {Gb(available), Gb(used), Gb(row.space.totalBytes), usage};
}

}  // namespace velora
