#include "bench/scratch_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace velora {

namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The scratch folder may not exist when its creation failed; its parent then tells the space.
std::optional<uint64_t> FreeSpaceNear(const std::string& filePath, BenchHost& host) {
  const std::string folder = DirectoryOf(filePath);
  if (auto free = host.FreeBytes(folder)) return free;
  return host.FreeBytes(DirectoryOf(folder));
}

bool ProbeWritable(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const char zero = 0;
  const bool written = write(fd, &zero, 1) == 1;
  close(fd);
  unlink(path.c_str());
  return written;
}

// Direct I/O is refused by some file systems (tmpfs); the file is then written buffered.
int OpenForBlocks(const std::string& path) {
  const int flags = O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC;
  int fd = open(path.c_str(), flags | O_DIRECT, 0600);
  if (fd < 0 && errno == EINVAL) fd = open(path.c_str(), flags, 0600);
  return fd;
}

void SwitchCompressionOff(int fd) {
  int attributes = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &attributes) != 0) return;
  if ((attributes & FS_COMPR_FL) == 0) return;
  attributes &= ~FS_COMPR_FL;
  (void)ioctl(fd, FS_IOC_SETFLAGS, &attributes);  // a refusal leaves the file as it is
}

bool WriteFully(int fd, const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t done = write(fd, bytes, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

void FillPseudoRandomWords(void* block, uint32_t size) {
  // A fixed seed, so every run writes the same incompressible pattern.
  std::minstd_rand generator;
  auto* bytes = static_cast<unsigned char*>(block);
  for (uint32_t i = 0; i + 1 < size; i += 2) {
    const auto low = static_cast<unsigned char>(generator() & 0xFF);
    bytes[i] = low;
    bytes[i + 1] = low;
  }
}

}  // namespace

void SetScratchPath(HddScratchParams& params, const std::string& path) {
  std::memset(params.filePath, 0, sizeof params.filePath);
  std::memcpy(params.filePath, path.data(),
              std::min(path.size(), sizeof params.filePath - 1));
}

std::optional<ScratchFailure> PrepareScratchFile(HddScratchParams& params, ScratchBlock& block,
                                                 BenchHost& host) {
  const std::string path = params.filePath;
  const bool compressed = host.VolumeCompressed(DirectoryOf(path));

  // Unknown free space is not a reason to refuse: the writability probe decides then.
  if (const auto free = FreeSpaceNear(path, host); free && params.fileSize > *free) {
    return ScratchFailure::kInsufficientSpace;
  }
  if (!ProbeWritable(path)) return ScratchFailure::kNotWritable;

  const uint32_t blockSize = params.blockSize != 0 ? params.blockSize : kScratchBlockSize;
  const uint32_t blockCount = params.fileSize / blockSize;
  // Aligned for direct I/O.
  void* memory = std::aligned_alloc(4096, (blockSize + 4095u) / 4096u * 4096u);
  if (memory == nullptr) return ScratchFailure::kNotWritable;
  std::memset(memory, 0, blockSize);
  block.reset(memory);
  params.blockBuffer = memory;
  if (compressed) FillPseudoRandomWords(memory, blockSize);

  const int fd = OpenForBlocks(path);
  if (fd < 0) return ScratchFailure::kNotWritable;
  SwitchCompressionOff(fd);
  bool written = true;
  for (uint32_t i = 0; i < blockCount && written; ++i) written = WriteFully(fd, memory, blockSize);
  close(fd);
  // A volume that fills up part-way must not pass as prepared: the engine would measure a
  // short file.
  if (!written) {
    unlink(path.c_str());
    return ScratchFailure::kNotWritable;
  }
  return std::nullopt;
}

}  // namespace velora
