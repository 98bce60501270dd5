#pragma once
// The HDD test's private folder: made new (never an existing one), reached through descriptors
// so a path swapped under it cannot redirect the writes, and marked with a locked lock file so
// that a later run can tell a folder whose owner died from one in use.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "bench/scratch_messages.h"

namespace velora {

// The name of the lock file inside every scratch folder; it holds the owner's process id.
inline constexpr const char* kScratchLockName = "velora.pid";

class ScratchFolder {
 public:
  // Makes "<root>/Velora" and six random letters or digits (mkdtemp) with mode 0700: names
  // planted in a shared folder cannot be guessed ahead. Failure names the path and the reason.
  static std::optional<ScratchFolder> Create(const std::string& root, ScratchFailure& failure);

  ScratchFolder(ScratchFolder&& other) noexcept;
  ScratchFolder& operator=(ScratchFolder&& other) noexcept;
  ScratchFolder(const ScratchFolder&) = delete;
  // Removes the file, the lock and the folder.
  ~ScratchFolder();

  const std::string& Path() const { return path_; }
  int Descriptor() const { return dirFd_; }
  // The scratch file's name inside the folder: the folder's name with ".tmp".
  std::string FileName() const;

  // Creates fileName inside the folder: exclusive, no link followed. -1 with errno on failure.
  int CreateFile(const std::string& fileName, int extraFlags = 0) const;
  // Opens the already made fileName for reading and writing, no link followed.
  int OpenFile(const std::string& fileName, int extraFlags = 0) const;
  bool FileExists(const std::string& fileName) const;
  void RemoveFile(const std::string& fileName) const;

  // A path to fileName that others can open: through this process's descriptor of the folder
  // when /proc offers it (short, and it cannot be redirected), else the plain path. Empty with
  // ENAMETOOLONG when neither fits in limit characters.
  std::string PathForOthers(const std::string& fileName, size_t limit) const;

 private:
  ScratchFolder(int rootFd, int dirFd, int lockFd, std::string name, std::string path);
  void Remove();

  int rootFd_ = -1;
  int dirFd_ = -1;
  int lockFd_ = -1;
  std::string name_;
  std::string path_;
};

// Removes the scratch folders in root whose lock is no longer held (their run was killed).
// Folders of other users and folders in use are left alone. Returns how many were removed.
int RemoveStaleScratchFolders(const std::string& root);

// Removes every scratch folder this process has open, with async-signal-safe calls only: for
// endings that give no chance to stop the run (a fatal signal, an exit from a library).
void RemoveScratchFoldersNow();

}  // namespace velora
