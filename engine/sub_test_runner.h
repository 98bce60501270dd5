#pragma once
// BenchMark behind the export: picks the kernel of a sub-test, measures it and turns the rate
// into value and score. The budget lets tests run the same path on small inputs.

#include <cstdint>
#include <memory>

#include "engine/bench_kernel.h"
#include "engine/stream_arena.h"
#include "platform/clock_source.h"
#include "platform/processor_affinity.h"

namespace velora::engine {

struct RunBudget {
  KernelSize size = KernelSize::kFull;
  // Timed work per call; real runs spend 0.2 to 1 s in a call in all.
  double minSeconds = 0.25;
  // The MEM streaming arrays kept from call to call; without one, a call makes its own arrays
  // of the size's least bytes and drops them.
  StreamArena* streams = nullptr;
};

// The kernel of a sub-test, or nullptr for a sub-test the test does not have. params is used
// by HDD only and must then have passed CheckScratchParams. MEM's streaming kernels made here
// have arrays of their own (RunSubTest shares one set out among its workers instead).
std::unique_ptr<BenchKernel> MakeKernel(int32_t test, int32_t subTest, const void* params,
                                        KernelSize size);

// MEM Read, Write and Read/Write: the sub-tests that stream over the kept arrays.
bool StreamsOverArrays(int32_t test, int32_t subTest);

// ALU, FPU, MEM and MMT run on every processor the calling thread may use, one worker each
// (MEM's streaming sub-tests share budget.streams out among them, keeping it after a good call
// and releasing it after a failed one);
// HDD runs one stream on the calling thread, since it measures the disk.
// 0 with score and value 0 for a sub-test that does not exist; -1 with score -1 and value 0
// when the sub-test cannot run (bad HDD record, no memory, a worker that cannot be bound) or
// any worker's result is wrong.
int32_t RunSubTest(int32_t test, int32_t subTest, const void* params, ClockSource& clock,
                   ProcessorAffinity& affinity, const RunBudget& budget, int32_t* score,
                   int32_t* value);

// Rate to the 32-bit figures, saturating instead of wrapping.
int32_t ScaleRate(double rate, double factor);

}  // namespace velora::engine
