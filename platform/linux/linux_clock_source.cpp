#include "platform/linux/linux_clock_source.h"

#include <sched.h>
#include <time.h>
#include <x86intrin.h>

namespace velora {

namespace {

uint64_t Nanoseconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000ull + static_cast<uint64_t>(ts.tv_nsec);
}

}  // namespace

uint64_t LinuxClockSource::ReadTimeStampCounter() { return __rdtsc(); }

uint64_t LinuxClockSource::PerformanceCounter() { return Nanoseconds(CLOCK_MONOTONIC_RAW); }

// Both millisecond timers wrap at 2^32 like their 32-bit counterparts; callers subtract.
uint32_t LinuxClockSource::MultimediaTimeMs() {
  return static_cast<uint32_t>(Nanoseconds(CLOCK_MONOTONIC) / 1'000'000ull);
}

uint32_t LinuxClockSource::TickCountMs() {
  return static_cast<uint32_t>(Nanoseconds(CLOCK_MONOTONIC_COARSE) / 1'000'000ull);
}

void LinuxClockSource::SleepMs(uint32_t milliseconds) {
  timespec ts{static_cast<time_t>(milliseconds / 1000),
              static_cast<long>(milliseconds % 1000) * 1'000'000L};
  while (clock_nanosleep(CLOCK_MONOTONIC, 0, &ts, &ts) != 0) {
  }
}

void LinuxClockSource::YieldTimeSlice() { sched_yield(); }

ClockSource& ProcessClockSource() {
  static LinuxClockSource clock;
  return clock;
}

}  // namespace velora
