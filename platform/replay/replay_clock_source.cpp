#include "platform/replay/replay_clock_source.h"

#include <cmath>

namespace velora {

namespace {
// Far above any processor, and small enough that a counter of years stays in range.
constexpr double kHighestMhz = 1e6;
constexpr double kCounterRange = 18446744073709551616.0;  // 2^64
}  // namespace

ReplayClockSource::ReplayClockSource(double recordedMhz)
    : mhz_(std::isfinite(recordedMhz) && recordedMhz > 0.0 && recordedMhz <= kHighestMhz
               ? recordedMhz
               : 0.0),
      startNs_(system_.PerformanceCounter()) {}

// The counter runs on the performance counter's own clock, so the two agree to the
// nanosecond, as a constant-rate counter and its timer do.
uint64_t ReplayClockSource::ReadTimeStampCounter() {
  if (mhz_ == 0.0) return 0;
  const double ticks =
      static_cast<double>(system_.PerformanceCounter() - startNs_) * (mhz_ / 1000.0);
  return static_cast<uint64_t>(std::fmod(ticks, kCounterRange));
}

uint64_t ReplayClockSource::PerformanceCounter() { return system_.PerformanceCounter(); }
uint64_t ReplayClockSource::PerformanceFrequency() { return system_.PerformanceFrequency(); }
uint32_t ReplayClockSource::MultimediaTimeMs() { return system_.MultimediaTimeMs(); }
uint32_t ReplayClockSource::TickCountMs() { return system_.TickCountMs(); }
void ReplayClockSource::SleepMs(uint32_t milliseconds) { system_.SleepMs(milliseconds); }
void ReplayClockSource::YieldTimeSlice() { system_.YieldTimeSlice(); }

}  // namespace velora
