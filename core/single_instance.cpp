#include "core/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace velora {

std::string PrivateFolder(const std::string& parent) {
  const std::string folder = parent + "/velora-" + std::to_string(geteuid());
  (void)mkdir(folder.c_str(), 0700);
  // Another user may have made it first in the shared folder: only our own, private, real
  // folder will do.
  return IsPrivateFolder(folder) ? folder : std::string();
}

bool IsPrivateFolder(const std::string& folder) {
  // The folder itself, not a link to it: a link another user planted would lead elsewhere.
  struct stat info {};
  return !folder.empty() && folder[0] == '/' && lstat(folder.c_str(), &info) == 0 &&
         S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

std::string InstanceLockPath() {
  // A runtime folder shared with other users (or handed down from another user, as under su)
  // would let them hold our lock and answer our raise socket.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && IsPrivateFolder(runtime)) return std::string(runtime) + "/Velora09";
  const std::string folder = PrivateFolder("/tmp");
  return folder.empty() ? std::string() : folder + "/Velora09";
}

SingleInstanceGuard::SingleInstanceGuard(std::string lockPath) : path_(std::move(lockPath)) {}

SingleInstanceGuard::~SingleInstanceGuard() { Release(); }

bool SingleInstanceGuard::Acquire() {
  if (held_) return true;
  // No private place for the lock: run unguarded rather than let another user keep us out.
  if (path_.empty()) {
    held_ = true;
    return true;
  }
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) {
    held_ = true;  // no lock to take: run unguarded rather than not at all
    return true;
  }
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    close(fd_);
    fd_ = -1;
    return error != EWOULDBLOCK;
  }
  held_ = true;
  return true;
}

void SingleInstanceGuard::Release() {
  if (fd_ >= 0) {
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
  }
  held_ = false;
}

}  // namespace velora
