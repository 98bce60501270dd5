#pragma once
// Time as the clock measurements see it: the time-stamp counter and the system's timers.

#include <cstdint>

namespace velora {

class ClockSource {
 public:
  virtual ~ClockSource() = default;

  virtual uint64_t ReadTimeStampCounter() = 0;

  // High-resolution counter and its ticks per second.
  virtual uint64_t PerformanceCounter() = 0;
  virtual uint64_t PerformanceFrequency() = 0;

  // Millisecond timer with 1 ms resolution.
  virtual uint32_t MultimediaTimeMs() = 0;
  // Millisecond timer that advances in scheduler ticks.
  virtual uint32_t TickCountMs() = 0;

  virtual void SleepMs(uint32_t milliseconds) = 0;
  // Gives up the rest of the time slice.
  virtual void YieldTimeSlice() = 0;
};

}  // namespace velora
