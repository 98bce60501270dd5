#pragma once
// One measurable piece of work: prepared once, run repeatedly under the clock, checked after
// every run so that a wrong answer can never pass for a fast one.

#include <cstdint>

#include "platform/clock_source.h"

namespace velora::engine {

// Full sizes are for real runs; small sizes keep the unit tests quick.
enum class KernelSize { kFull, kSmall };

class BenchKernel {
 public:
  virtual ~BenchKernel() = default;
  // Allocates and fills the inputs; false when that fails (no memory, no file).
  virtual bool Prepare() = 0;
  // Untimed, before every run: restores inputs that a run consumes (a sorted array, ...).
  virtual void Reset() {}
  // The timed work.
  virtual void Run() = 0;
  // Untimed, after every run: true when the run produced the right answer.
  virtual bool Verify() = 0;
  // Work done by one run, in the sub-test's unit (calls, digits, bytes, ...).
  virtual double WorkPerRun() const = 0;
};

struct Measurement {
  bool ok = false;
  double workPerSecond = 0.0;
  int runs = 0;
};

// Runs the kernel until at least minSeconds of timed work (and at least one run) have passed.
// Any failed preparation or check makes the whole measurement fail.
Measurement MeasureKernel(BenchKernel& kernel, ClockSource& clock, double minSeconds);

}  // namespace velora::engine
