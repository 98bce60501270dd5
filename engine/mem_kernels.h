#pragma once
// The MEM test: streaming over arrays far larger than the caches, and one block inside the L2.
// Work unit: bytes moved (a copy counts what it reads and what it writes).

#include <cstddef>
#include <cstdint>

#include "engine/bench_kernel.h"

namespace velora::engine {

enum class MemPattern { kRead, kWrite, kCopy, kCache };

// Bytes of each streaming array, shared out among the workers: 80 MB is far beyond any
// last-level cache of today's desktops. A worker's share never drops below the floor, so that
// many processors together still stream far more than their caches hold.
inline constexpr size_t kStreamArrayBytes = 80'000'000;
inline constexpr size_t kStreamShareFloorBytes = 8'000'000;
// One block per worker; fits the L2 of every processor with one (256 KB and up) without
// fitting an L1.
inline constexpr size_t kCacheBlockBytes = 128 * 1024;

class MemKernel : public BenchKernel {
 public:
  // workers: how many share the streaming arrays; this kernel streams its part of them.
  MemKernel(MemPattern pattern, KernelSize size, int workers = 1);
  ~MemKernel() override;
  MemKernel(const MemKernel&) = delete;
  MemKernel& operator=(const MemKernel&) = delete;

  bool Prepare() override;
  void Reset() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override;

  uint64_t* Source() { return source_; }
  uint64_t* Destination() { return destination_; }
  uint64_t& Sum() { return sum_; }

 private:
  MemPattern pattern_;
  size_t elements_;
  int passes_;
  bool wide_ = false;
  uint64_t* source_ = nullptr;
  uint64_t* destination_ = nullptr;
  uint64_t sum_ = 0;
  uint64_t stamp_ = 0;
};

}  // namespace velora::engine
