#pragma once
// Time on a recorded machine: the system's own timers, and a time-stamp counter that advances
// at the recorded clock, so the clock measurement reads back what was measured when recording.
// Without a recorded clock the counter stands still and the measurement finds nothing.

#include "platform/clock_source.h"
#include "platform/linux/linux_clock_source.h"

namespace velora {

class ReplayClockSource : public ClockSource {
 public:
  explicit ReplayClockSource(double recordedMhz);  // 0: not recorded

  uint64_t ReadTimeStampCounter() override;
  uint64_t PerformanceCounter() override;
  uint64_t PerformanceFrequency() override;
  uint32_t MultimediaTimeMs() override;
  uint32_t TickCountMs() override;
  void SleepMs(uint32_t milliseconds) override;
  void YieldTimeSlice() override;

 private:
  LinuxClockSource system_;
  double mhz_;
  uint64_t startNs_;
};

}  // namespace velora
