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

// The writability probe: one byte written to the file that will become the scratch file.
int ProbeWritable(const ScratchFolder& folder, const std::string& name) {
  const int fd = folder.CreateFile(name);
  if (fd < 0) return errno;
  const char zero = 0;
  const int error = write(fd, &zero, 1) == 1 ? 0 : (errno != 0 ? errno : EIO);
  close(fd);
  folder.RemoveFile(name);
  return error;
}

// Direct I/O is refused by some file systems (tmpfs); the file is then written buffered.
int OpenForBlocks(const ScratchFolder& folder, const std::string& name) {
  int fd = folder.CreateFile(name, O_DIRECT);
  if (fd < 0 && errno == EINVAL) fd = folder.CreateFile(name);
  return fd;
}

void SwitchCompressionOff(int fd) {
  int attributes = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &attributes) != 0) return;
  if ((attributes & FS_COMPR_FL) == 0) return;
  attributes &= ~FS_COMPR_FL;
  (void)ioctl(fd, FS_IOC_SETFLAGS, &attributes);  // a refusal leaves the file as it is
}

// 0, or the errno of the failed write (ENOSPC for a write that stopped short).
int WriteFully(int fd, const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t done = write(fd, bytes, size);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    if (done == 0) return ENOSPC;
    bytes += done;
    size -= static_cast<size_t>(done);
  }
  return 0;
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

std::optional<ScratchFailure> PrepareScratchFile(HddScratchParams& params, ScratchBlock& block,
                                                 BenchHost& host, const ScratchFolder& folder,
                                                 const std::atomic<bool>& stop) {
  const std::string name = folder.FileName();
  const std::string path = folder.Path() + "/" + name;
  const bool compressed = host.VolumeCompressed(folder.Path());

  // Unknown free space is not a reason to refuse: the writability probe decides then.
  if (const auto free = host.FreeBytes(folder.Path()); free && params.fileSize > *free) {
    return ScratchFailure{ScratchFailureKind::kInsufficientSpace, folder.Path(), 0};
  }
  if (const int error = ProbeWritable(folder, name); error != 0) {
    return ScratchFailure{ScratchFailureKind::kNotWritable, path, error};
  }
  const std::string enginePath = folder.PathForOthers(name, sizeof params.filePath - 1);
  if (enginePath.empty()) {
    return ScratchFailure{ScratchFailureKind::kNotWritable, path, ENAMETOOLONG};
  }

  const uint32_t blockSize = params.blockSize != 0 ? params.blockSize : kScratchBlockSize;
  const uint32_t blockCount = params.fileSize / blockSize;
  // Aligned for direct I/O.
  void* memory = std::aligned_alloc(4096, (blockSize + 4095u) / 4096u * 4096u);
  if (memory == nullptr) return ScratchFailure{ScratchFailureKind::kNotWritable, path, ENOMEM};
  std::memset(memory, 0, blockSize);
  block.reset(memory);
  params.blockBuffer = memory;
  if (compressed) FillPseudoRandomWords(memory, blockSize);

  const int fd = OpenForBlocks(folder, name);
  if (fd < 0) return ScratchFailure{ScratchFailureKind::kNotWritable, path, errno};
  SwitchCompressionOff(fd);
  int error = 0;
  bool stopped = false;
  for (uint32_t i = 0; i < blockCount && error == 0 && !stopped; ++i) {
    stopped = stop.load();
    if (!stopped) error = WriteFully(fd, memory, blockSize);
  }
  if (error == 0 && !stopped && fsync(fd) != 0) error = errno;
  close(fd);
  // A volume that fills up part-way must not pass as prepared: the engine would measure a
  // short file.
  if (error != 0 || stopped) {
    folder.RemoveFile(name);
    if (stopped) return ScratchFailure{ScratchFailureKind::kStopped, {}, 0};
    const bool full = error == ENOSPC || error == EDQUOT;
    return ScratchFailure{
        full ? ScratchFailureKind::kInsufficientSpace : ScratchFailureKind::kNotWritable, path,
        error};
  }
  std::memset(params.filePath, 0, sizeof params.filePath);
  std::memcpy(params.filePath, enginePath.data(), enginePath.size());
  return std::nullopt;
}

}  // namespace velora
