#pragma once
// The MEM test: streaming over arrays far larger than the caches, and one block inside the L2.
// Work unit: bytes moved (a copy counts what it reads and what it writes).

#include <cstddef>
#include <cstdint>

#include <memory>

#include "engine/bench_kernel.h"
#include "engine/stream_arena.h"

namespace velora::engine {

enum class MemPattern { kRead, kWrite, kCopy, kCache };

// Streaming arrays of the small size (tests), and a worker's least share of them.
inline constexpr size_t kSmallStreamBytes = 1'000'000;
inline constexpr size_t kSmallStreamShareFloorBytes = 100'000;
// One block per worker; fits the L2 of every processor with one (256 KB and up) without
// fitting an L1.
inline constexpr size_t kCacheBlockBytes = 128 * 1024;

class MemKernel : public BenchKernel {
 public:
  // A streaming kernel over one worker's slice of arrays kept elsewhere.
  MemKernel(MemPattern pattern, const StreamSlice& slice);
  // Arrays of its own: the cache block, or streaming arrays of the given size for one worker.
  MemKernel(MemPattern pattern, KernelSize size);
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
  std::unique_ptr<StreamArena> ownStreams_;  // the standalone streaming kernel's
  uint64_t* cacheBlock_ = nullptr;           // the cache kernel's, its own
  MemPattern pattern_;
  StreamSlice slice_;
  size_t elements_ = 0;
  int passes_ = 1;
  bool wide_ = false;
  uint64_t* source_ = nullptr;
  uint64_t* destination_ = nullptr;
  uint64_t sum_ = 0;
  uint64_t stamp_ = 0;
};

}  // namespace velora::engine
