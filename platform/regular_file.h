#pragma once
// Files that a user names or another user may have planted: only a regular file is read, it is
// opened without blocking (a FIFO is looked at, never waited on) and never read past a limit.

#include <cstddef>
#include <string>

namespace velora {

struct FileBytes {
  bool ok = false;
  std::string bytes;
  // Why not, without the path: "is a folder", "is not a regular file (...)", "is larger than
  // ...", or the system's reason.
  std::string error;
};

// The whole of a regular file of at most limit bytes. followLinks false refuses a symbolic
// link in the last component.
FileBytes ReadRegularFile(const std::string& path, size_t limit, bool followLinks = true);

// A descriptor of a regular file opened for reading, in blocking mode, or -1 with the reason
// in error.
int OpenRegularFile(const std::string& path, std::string& error, bool followLinks = true);

// "4 MB", "64 KB" or "100 bytes": how the limits read in messages.
std::string SizeText(size_t bytes);

}  // namespace velora
