#include "core/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace velora {

std::string InstanceLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && access(runtime, W_OK) == 0) {
    return std::string(runtime) + "/Velora09";
  }
  // /tmp is shared by all users: the user id keeps one user from blocking another.
  return "/tmp/Velora09-" + std::to_string(getuid());
}

SingleInstanceGuard::SingleInstanceGuard(std::string lockPath) : path_(std::move(lockPath)) {}

SingleInstanceGuard::~SingleInstanceGuard() { Release(); }

bool SingleInstanceGuard::Acquire() {
  if (held_) return true;
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
