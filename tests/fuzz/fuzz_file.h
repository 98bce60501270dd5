#pragma once
// The readers under fuzz take a path: each input is written to one file in the working folder
// (the build's), named after the fuzzer so that several can run side by side. libFuzzer ends
// without running exit handlers, so the file stays, overwritten by the next run.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace velora::fuzz {

inline const std::string& FuzzFile(const uint8_t* data, size_t size) {
  static const std::string path =
      std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".input";
  // A new file each time: a reader may have renamed another one over the path.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) std::abort();
  for (size_t done = 0; done < size;) {
    const ssize_t wrote = write(fd, data + done, size - done);
    if (wrote <= 0) std::abort();
    done += static_cast<size_t>(wrote);
  }
  close(fd);
  return path;
}

}  // namespace velora::fuzz
