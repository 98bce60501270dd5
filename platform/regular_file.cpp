#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

namespace velora {

namespace {

// The descriptor and what it is, or -1 with the reason.
int OpenChecked(const std::string& path, bool followLinks, struct stat& info, std::string& error) {
  const int flags =
      O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW);
  const int fd = open(path.c_str(), flags);
  if (fd < 0) {
    error = errno == ELOOP && !followLinks ? "is a symbolic link" : std::strerror(errno);
    return -1;
  }
  if (fstat(fd, &info) != 0) {
    error = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    error = "is a folder";
  } else if (!S_ISREG(info.st_mode)) {
    error = "is not a regular file (a device, pipe or socket)";
  } else {
    error.clear();
    return fd;
  }
  close(fd);
  return -1;
}

}  // namespace

std::string SizeText(size_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + " KB";
  return std::to_string(bytes) + " bytes";
}

int OpenRegularFile(const std::string& path, std::string& error, bool followLinks) {
  struct stat info {};
  const int fd = OpenChecked(path, followLinks, info, error);
  // A regular file never blocks; the flag is dropped so that readers see ordinary reads.
  if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

FileBytes ReadRegularFile(const std::string& path, size_t limit, bool followLinks) {
  FileBytes file;
  struct stat info {};
  const int fd = OpenChecked(path, followLinks, info, file.error);
  if (fd < 0) return file;
  const std::string tooLarge = "is larger than " + SizeText(limit);
  if (static_cast<unsigned long long>(info.st_size) > limit) {
    close(fd);
    file.error = tooLarge;
    return file;
  }
  // One byte beyond the limit tells a file that grew meanwhile from one that fits.
  file.bytes.resize(static_cast<size_t>(info.st_size) + 1);
  size_t done = 0;
  for (;;) {
    if (done == file.bytes.size()) {
      if (done > limit) break;
      file.bytes.resize(std::min(limit + 1, done * 2 + 4096));
    }
    const ssize_t got = read(fd, file.bytes.data() + done, file.bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      file.error = std::strerror(errno);
      break;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  close(fd);
  if (!file.error.empty()) {
    file.bytes.clear();
    return file;
  }
  if (done > limit) {
    file.bytes.clear();
    file.error = tooLarge;
    return file;
  }
  file.bytes.resize(done);
  file.ok = true;
  return file;
}

}  // namespace velora
