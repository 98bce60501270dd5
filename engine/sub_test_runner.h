#pragma once
// BenchMark behind the export: picks the kernel of a sub-test, measures it and turns the rate
// into value and score. The budget lets tests run the same path on small inputs.

#include <cstdint>
#include <memory>

#include "engine/bench_kernel.h"
#include "platform/clock_source.h"

namespace velora::engine {

struct RunBudget {
  KernelSize size = KernelSize::kFull;
  // Timed work per call; real runs spend 0.2 to 1 s in a call in all.
  double minSeconds = 0.25;
};

// The kernel of a sub-test, or nullptr for a sub-test the test does not have. params is used
// by HDD only and must then have passed CheckScratchParams.
std::unique_ptr<BenchKernel> MakeKernel(int32_t test, int32_t subTest, const void* params,
                                        KernelSize size);

// 0 with score and value 0 for a sub-test that does not exist; -1 with score -1 and value 0
// when the sub-test cannot run (bad HDD record, no memory) or its result is wrong.
int32_t RunSubTest(int32_t test, int32_t subTest, const void* params, ClockSource& clock,
                   const RunBudget& budget, int32_t* score, int32_t* value);

// Rate to the 32-bit figures, saturating instead of wrapping.
int32_t ScaleRate(double rate, double factor);

}  // namespace velora::engine
