#include "engine/bench_kernel.h"

namespace velora::engine {

Measurement MeasureKernel(BenchKernel& kernel, ClockSource& clock, double minSeconds) {
  Measurement result;
  if (!kernel.Prepare()) return result;
  const double frequency = static_cast<double>(clock.PerformanceFrequency());
  if (frequency <= 0.0) return result;
  double seconds = 0.0;
  // A run count cap keeps a stalled clock from looping forever.
  constexpr int kMaxRuns = 1 << 20;
  do {
    kernel.Reset();
    const uint64_t start = clock.PerformanceCounter();
    kernel.Run();
    const uint64_t end = clock.PerformanceCounter();
    if (!kernel.Verify()) return result;
    seconds += static_cast<double>(end - start) / frequency;
    ++result.runs;
  } while ((seconds < minSeconds || seconds <= 0.0) && result.runs < kMaxRuns);
  if (seconds <= 0.0) return result;
  result.ok = true;
  result.workPerSecond = kernel.WorkPerRun() * result.runs / seconds;
  return result;
}

}  // namespace velora::engine
