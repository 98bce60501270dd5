#pragma once
// The meeting point of the workers of one sub-test. The last thread to arrive runs the step
// that belongs between two phases (reading the clock, deciding whether to go on) before it lets
// the others go, so that step sees everything the workers did and they see what it wrote.
// Waiters spin first, because the start of a timed run must not wait for a sleeping thread to
// be woken; each worker has a processor of its own, so the spin takes no one's time but ours.

#include <immintrin.h>

#include <atomic>
#include <cstdint>

namespace velora::engine {

class WorkerBarrier {
 public:
  explicit WorkerBarrier(uint32_t count) : count_(count) {}

  template <typename LastArrival>
  void ArriveAndWait(LastArrival lastArrival) {
    const uint32_t generation = generation_.load(std::memory_order_acquire);
    if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 == count_) {
      lastArrival();
      arrived_.store(0, std::memory_order_relaxed);
      generation_.fetch_add(1, std::memory_order_release);
      generation_.notify_all();
      return;
    }
    for (int spin = 0; spin < kSpins; ++spin) {
      if (generation_.load(std::memory_order_acquire) != generation) return;
      _mm_pause();
    }
    while (generation_.load(std::memory_order_acquire) == generation)
      generation_.wait(generation, std::memory_order_acquire);
  }

  void ArriveAndWait() {
    ArriveAndWait([] {});
  }

 private:
  // About a tenth of a millisecond of pauses; longer gaps (a slow check) sleep.
  static constexpr int kSpins = 1 << 13;
  const uint32_t count_;
  std::atomic<uint32_t> arrived_{0};
  std::atomic<uint32_t> generation_{0};
};

}  // namespace velora::engine
