#include "engine/hdd_kernels.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velora::engine {
namespace {

// Each run moves about this much, so that the clock is read rarely compared with the I/O.
constexpr uint64_t kBytesPerRun = 16u << 20;

bool FullPread(int fd, unsigned char* p, size_t n, uint64_t offset) {
  while (n > 0) {
    ssize_t got = pread(fd, p, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

bool FullPwrite(int fd, const unsigned char* p, size_t n, uint64_t offset) {
  while (n > 0) {
    ssize_t put = pwrite(fd, p, n, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    p += put;
    n -= static_cast<size_t>(put);
    offset += static_cast<uint64_t>(put);
  }
  return true;
}

bool IsWrite(HddPattern p) { return p == HddPattern::kSequentialWrite || p == HddPattern::kRandomWrite; }

}  // namespace

ScratchProblem CheckScratchParams(const HddScratchParams* params) {
  if (params == nullptr) return ScratchProblem::kNull;
  if (params->blockSize == 0 || params->blockSize % kDirectAlignment != 0)
    return ScratchProblem::kBadBlockSize;
  if (params->fileSize < kMinScratchBytes || params->fileSize < 2ull * params->blockSize)
    return ScratchProblem::kUndersized;
  const void* end = std::memchr(params->filePath, '\0', sizeof params->filePath);
  if (end == nullptr || params->filePath[0] == '\0') return ScratchProblem::kBadPath;
  return ScratchProblem::kNone;
}

HddKernel::HddKernel(const HddScratchParams& params, HddPattern pattern, uint32_t transferBytes)
    : params_(params), pattern_(pattern), transfer_(transferBytes ? transferBytes : params.blockSize) {}

HddKernel::~HddKernel() {
  if (fd_ >= 0) close(fd_);
  std::free(buffer_);
  std::free(check_);
}

double HddKernel::WorkPerRun() const { return static_cast<double>(transfersPerRun_) * transfer_; }

bool HddKernel::Prepare() {
  if (CheckScratchParams(&params_) != ScratchProblem::kNone) return false;
  if (transfer_ == 0 || transfer_ % kDirectAlignment != 0 || transfer_ > params_.fileSize) return false;
  // Never O_CREAT or O_TRUNC: the file must be the runner's, and a symbolic link is refused so
  // that the writes cannot land anywhere else.
  const int flags = O_RDWR | O_NOFOLLOW | O_CLOEXEC;
  fd_ = allowDirect_ ? open(params_.filePath, flags | O_DIRECT) : -1;
  direct_ = fd_ >= 0;
  // tmpfs (before Linux 6.6) and some network file systems refuse O_DIRECT; buffered I/O with
  // the file's cache dropped is the closest they offer.
  if (fd_ < 0 && (!allowDirect_ || errno == EINVAL)) fd_ = open(params_.filePath, flags);
  if (fd_ < 0) return false;
  struct stat st {};
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<uint64_t>(st.st_size) < params_.fileSize)
    return false;
  if (posix_memalign(reinterpret_cast<void**>(&buffer_), kDirectAlignment, transfer_) != 0) {
    buffer_ = nullptr;
    return false;
  }
  if (posix_memalign(reinterpret_cast<void**>(&check_), kDirectAlignment, transfer_) != 0) {
    check_ = nullptr;
    return false;
  }
  // The runner's block carries the data pattern it wants on disk (random on compressed volumes).
  if (params_.blockBuffer != nullptr)
    std::memcpy(buffer_, params_.blockBuffer, std::min(transfer_, params_.blockSize));
  else
    std::memset(buffer_, 0, transfer_);
  if (transfer_ > params_.blockSize && params_.blockBuffer != nullptr)
    std::memset(buffer_ + params_.blockSize, 0, transfer_ - params_.blockSize);
  // No more per run than the file holds, so a small file is not read round and round.
  const uint64_t perRun = std::min<uint64_t>(kBytesPerRun, params_.fileSize);
  transfersPerRun_ = static_cast<uint32_t>(std::max<uint64_t>(1, perRun / transfer_));
  if (!direct_) posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
  return true;
}

uint64_t HddKernel::NextOffset() {
  const uint64_t slots = params_.fileSize / transfer_;
  if (pattern_ == HddPattern::kSequentialRead || pattern_ == HddPattern::kSequentialWrite) {
    if (position_ >= slots) position_ = 0;
    return position_++ * transfer_;
  }
  random_ ^= random_ >> 12;
  random_ ^= random_ << 25;
  random_ ^= random_ >> 27;
  return ((random_ * 0x2545F4914F6CDD1Dull) >> 16) % slots * transfer_;
}

bool HddKernel::Transfer(uint64_t offset) {
  if (offset + transfer_ > params_.fileSize) return false;
  if (!IsWrite(pattern_)) return FullPread(fd_, buffer_, transfer_, offset);
  // Each written block carries its offset and a counter, so the read-back check can tell a
  // block that really reached the file from stale data.
  std::memcpy(buffer_, &offset, sizeof offset);
  ++stamp_;
  std::memcpy(buffer_ + sizeof offset, &stamp_, sizeof stamp_);
  lastOffset_ = offset;
  return FullPwrite(fd_, buffer_, transfer_, offset);
}

void HddKernel::Run() {
  for (uint32_t i = 0; i < transfersPerRun_ && !failed_; ++i) failed_ = !Transfer(NextOffset());
  if (direct_ || failed_) return;
  // Buffered: a write counts once it is on the device, and a read must not hit the cache.
  if (IsWrite(pattern_)) failed_ = fdatasync(fd_) != 0;
  else posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
}

bool HddKernel::Verify() {
  if (failed_) return false;
  if (!IsWrite(pattern_)) return true;
  if (!FullPread(fd_, check_, transfer_, lastOffset_)) return false;
  return std::memcmp(check_, buffer_, transfer_) == 0;
}

}  // namespace velora::engine
