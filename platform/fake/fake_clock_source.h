#pragma once
// Scripted clocks: every timer advances only when the test (or a sleep) moves time on, and
// the time-stamp counter follows at a chosen frequency.

#include <cstdint>

#include "platform/clock_source.h"

namespace velora {

class FakeClockSource : public ClockSource {
 public:
  // Time-stamp counter ticks per microsecond, i.e. the simulated core clock in MHz.
  double tscMhz = 1000.0;
  // Time that passes at every read of any timer, to model the cost of a read.
  uint64_t nanosecondsPerRead = 0;
  // Tick-count granularity in milliseconds.
  uint32_t tickStepMs = 4;
  // Time that passes at every tick-count read on top of nanosecondsPerRead: polling the tick
  // count is never free, so a loop that only spins on it still ends.
  uint64_t nanosecondsPerTickRead = 1000;
  // Ticks per second that the performance counter claims; it still counts nanoseconds, so a
  // value other than 1e9 makes it disagree with the other timers, and 0 models an absent one.
  uint64_t performanceFrequency = 1'000'000'000ull;
  // Added to the time-stamp counter (modulo 2^64), to start it near its wrap.
  uint64_t tscOffset = 0;

  uint64_t nowNs = 0;
  int yields = 0;

  void Advance(uint64_t nanoseconds) { nowNs += nanoseconds; }

  uint64_t ReadTimeStampCounter() override;
  uint64_t PerformanceCounter() override;
  uint64_t PerformanceFrequency() override { return performanceFrequency; }
  uint32_t MultimediaTimeMs() override;
  uint32_t TickCountMs() override;
  void SleepMs(uint32_t milliseconds) override { Advance(uint64_t{milliseconds} * 1'000'000ull); }
  void YieldTimeSlice() override;

 private:
  uint64_t Tick();
};

}  // namespace velora
