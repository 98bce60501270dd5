#pragma once
// One running program per user: an exclusive lock on a file named Velora09, held until the
// guard is destroyed. A second program finds it taken and ends.

#include <string>

namespace velora {

// <parent>/velora-<uid>, made 0700 when missing; empty unless it is a folder of ours that only
// we can enter.
std::string PrivateFolder(const std::string& parent);

// Whether folder is a real folder (no link) of this user that nobody else may enter.
bool IsPrivateFolder(const std::string& folder);

// $XDG_RUNTIME_DIR/Velora09 when that folder is private, else Velora09 in
// PrivateFolder("/tmp"); empty when neither is safe.
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
