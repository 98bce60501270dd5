#include "platform/mount_query.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace velora {
namespace {

// mountinfo escapes blanks and a few other characters as \ooo.
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size()) {
      int v = 0;
      bool ok = true;
      for (size_t k = 1; k <= 3; ++k) {
        char c = s[i + k];
        if (c < '0' || c > '7') ok = false;
        v = v * 8 + (c - '0');
      }
      if (ok) {
        out.push_back(static_cast<char>(v));
        i += 3;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

// The kernel separates the fields with single blanks and escapes blanks, tabs, new lines and
// backslashes inside them; any other byte, a carriage return among them, belongs to the name.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start <= line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

bool Covers(const std::string& mountPoint, const std::string& path) {
  if (mountPoint == "/") return true;
  if (path.compare(0, mountPoint.size(), mountPoint) != 0) return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

bool ReadFlag(const std::string& file) {
  std::ifstream in(file);
  int v = 0;
  return in >> v && v == 1;
}

}  // namespace

std::vector<MountInfo> ListMounts(const std::string& root) {
  std::vector<MountInfo> mounts;
  std::ifstream in(root + "/proc/self/mountinfo");
  std::string line;
  while (std::getline(in, line)) {
    // id parent major:minor root mount-point options [optional...] - fstype source super
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 5) continue;
    size_t dash = 5;
    while (dash < f.size() && f[dash] != "-") ++dash;
    if (dash + 1 >= f.size()) continue;
    const std::string& devno = f[2];
    const std::string& fsRoot = f[3];
    const std::string& point = f[4];
    MountInfo m;
    m.fsType = f[dash + 1];
    if (dash + 2 < f.size()) m.source = f[dash + 2];
    m.source = Unescape(m.source);
    m.mountPoint = Unescape(point);
    m.fsRoot = Unescape(fsRoot);
    unsigned major = 0, minor = 0;
    if (std::sscanf(devno.c_str(), "%u:%u", &major, &minor) == 2) {
      m.major = major;
      m.minor = minor;
    }
    mounts.push_back(std::move(m));
  }
  return mounts;
}

bool MountOfPath(const std::string& path, MountInfo& mount, const std::string& root) {
  bool found = false;
  for (const MountInfo& m : ListMounts(root)) {
    if (!Covers(m.mountPoint, path)) continue;
    if (found && m.mountPoint.size() < mount.mountPoint.size()) continue;
    mount = m;  // later lines over the same point are the ones in effect
    found = true;
  }
  return found;
}

bool IsNetworkFileSystem(const std::string& fsType) {
  static constexpr std::array<std::string_view, 14> kNetwork{
      "nfs",  "nfs4",      "cifs", "smb3", "smbfs",      "ncpfs", "afs",
      "ceph", "glusterfs", "9p",   "coda", "fuse.sshfs", "davfs", "fuse.glusterfs"};
  for (std::string_view t : kNetwork) {
    if (fsType == t) return true;
  }
  return false;
}

bool IsRemovableMount(const MountInfo& mount, const std::string& root) {
  if (mount.fsType == "iso9660" || mount.fsType == "udf") return true;
  if (mount.major == 0) return false;  // no block device behind it
  std::string dev =
      root + "/sys/dev/block/" + std::to_string(mount.major) + ":" + std::to_string(mount.minor);
  // A partition has no flag of its own; its disk is the folder above.
  return ReadFlag(dev + "/removable") || ReadFlag(dev + "/../removable");
}

}  // namespace velora
