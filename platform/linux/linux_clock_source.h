#pragma once

#include "platform/clock_source.h"

namespace velora {

// TSC by RDTSC; performance counter CLOCK_MONOTONIC_RAW in ns; multimedia timer
// CLOCK_MONOTONIC in ms; tick count CLOCK_MONOTONIC_COARSE in ms.
class LinuxClockSource : public ClockSource {
 public:
  uint64_t ReadTimeStampCounter() override;
  uint64_t PerformanceCounter() override;
  uint64_t PerformanceFrequency() override { return 1'000'000'000ull; }
  uint32_t MultimediaTimeMs() override;
  uint32_t TickCountMs() override;
  void SleepMs(uint32_t milliseconds) override;
  void YieldTimeSlice() override;
};

ClockSource& ProcessClockSource();

}  // namespace velora
