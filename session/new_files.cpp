#include "session/new_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velora {

namespace {

bool Fail(const std::string& path, int code, std::string& error) {
  error = path + ": " + std::strerror(code);
  return false;
}

std::string TemporaryNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, start) + "." + path.substr(start) + ".part";
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

}  // namespace

bool MakeFolder(const std::string& path, std::string& error) {
  if (mkdir(path.c_str(), 0755) == 0) return true;
  const int code = errno;
  struct stat st {};
  if (code == EEXIST && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  return Fail(path, code, error);
}

bool WriteNewFile(const std::string& path, std::string_view bytes, std::string& error,
                  const timespec* modified) {
  const std::string temporary = TemporaryNameOf(path);
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0644);
  if (fd < 0) return Fail(temporary, errno, error);
  bool written = WriteAll(fd, bytes);
  int code = errno;
  if (written && modified != nullptr) {
    const timespec times[2] = {{0, UTIME_OMIT}, *modified};
    written = futimens(fd, times) == 0;
    code = errno;
  }
  if (close(fd) != 0 && written) {
    written = false;
    code = errno;
  }
  // No replacing: a name that appeared meanwhile is someone else's file.
  if (written) {
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
      return true;
    code = errno;
    // A file system without the flag: a hard link refuses an existing name just as well.
    if (code == EINVAL && link(temporary.c_str(), path.c_str()) == 0) {
      unlink(temporary.c_str());
      return true;
    }
    if (code == EINVAL) code = errno;
  }
  unlink(temporary.c_str());
  return Fail(path, code, error);
}

}  // namespace velora
