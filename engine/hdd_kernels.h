#pragma once
// The HDD test: sequential and random transfers on the runner's scratch file, unbuffered where
// the file system allows it. Work unit: bytes transferred. Nothing is ever written outside
// the first fileSize bytes of that one file, and the file is never created or resized here.

#include <cstddef>
#include <cstdint>

#include "engine/bench_kernel.h"
#include "engine/hdd_scratch_params.h"

namespace velora::engine {

enum class HddPattern { kSequentialRead, kSequentialWrite, kRandomRead, kRandomWrite };

// Below this the random tests would keep hitting the same few blocks.
inline constexpr uint32_t kMinScratchBytes = 4u << 20;
// O_DIRECT needs transfers and offsets in whole logical blocks; 4096 covers every device.
inline constexpr uint32_t kDirectAlignment = 4096;

// Why a params record cannot be used; kNone when it can.
enum class ScratchProblem { kNone, kNull, kBadBlockSize, kUndersized, kBadPath };
ScratchProblem CheckScratchParams(const HddScratchParams* params);

class HddKernel : public BenchKernel {
 public:
  // transferBytes 0 means the record's own block size (the sequential tests).
  HddKernel(const HddScratchParams& params, HddPattern pattern, uint32_t transferBytes);
  ~HddKernel() override;
  HddKernel(const HddKernel&) = delete;
  HddKernel& operator=(const HddKernel&) = delete;

  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override;

  bool direct() const { return direct_; }
  // Takes the path of file systems that refuse O_DIRECT (tmpfs before Linux 6.6, some network
  // file systems) even where direct I/O would work; for tests of that path.
  void ForceBufferedIo() { allowDirect_ = false; }

 private:
  bool Transfer(uint64_t offset);
  uint64_t NextOffset();

  const HddScratchParams& params_;
  HddPattern pattern_;
  uint32_t transfer_;
  uint32_t transfersPerRun_ = 0;
  int fd_ = -1;
  bool direct_ = false;
  bool allowDirect_ = true;
  bool failed_ = false;
  unsigned char* buffer_ = nullptr;
  unsigned char* check_ = nullptr;
  uint64_t position_ = 0;
  uint64_t lastOffset_ = 0;
  uint64_t random_ = 0x853C49E6748FEA9Bull;
  uint64_t stamp_ = 0;
};

}  // namespace velora::engine
