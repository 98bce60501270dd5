#pragma once
// One running program per user: an exclusive lock on a file named Velora09, held until the
// guard is destroyed. A second program finds it taken and ends.

#include <string>

namespace velora {

// $XDG_RUNTIME_DIR/Velora09, or /tmp/Velora09-<uid> when there is no runtime folder.
std::string InstanceLockPath();

class SingleInstanceGuard {
 public:
  explicit SingleInstanceGuard(std::string lockPath = InstanceLockPath());
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  // False when another instance holds the lock. A lock file that cannot be created at all
  // does not keep the program from running.
  bool Acquire();
  void Release();
  bool held() const { return held_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace velora
