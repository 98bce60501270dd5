#include "probe/clock/cpu_clock_measure.h"

#include <cmath>

namespace velora {

namespace {

constexpr uint32_t kWarmUpMs = 1000;

uint32_t WaitMs(int32_t mode) {
  switch (mode) {
    case 0: return 500;
    case 3:
    case 4: return 100;
    default: return 1000;
  }
}

// A counter that is absent or stands still gives infinity or not-a-number; neither may reach
// a text that the pages read as a number.
double UsableClock(double mhz) { return std::isfinite(mhz) && mhz > 0.0 ? mhz : -1.0; }

}  // namespace

double MeasureCoreClock(ClockSource& clock, const ClockMeasureOptions& options,
                        std::string& methodText) {
  const int32_t mode = options.mode;
  if (mode == 9) return 0.0;

  if (options.warmUp && mode != 4) {
    // Busy on purpose: the load is what raises the clock.
    volatile uint64_t spins = 0;
    const uint32_t start = clock.TickCountMs();
    while (clock.TickCountMs() - start < kWarmUpMs) spins = spins + 1;
  }

  const uint64_t t0 = clock.ReadTimeStampCounter();
  const uint64_t q0 = clock.PerformanceCounter();
  const uint64_t q1 = clock.PerformanceCounter();
  const uint32_t m0 = clock.MultimediaTimeMs();
  const uint32_t w0 = clock.TickCountMs();
  const uint32_t waitStart = clock.TickCountMs();
  const uint32_t wait = WaitMs(mode);
  // Unsigned differences: the millisecond timers wrap at 2^32, the counter at 2^64.
  while (clock.TickCountMs() - waitStart < wait) clock.YieldTimeSlice();

  const uint64_t t1 = clock.ReadTimeStampCounter();
  const uint32_t m1 = clock.MultimediaTimeMs();
  const uint32_t w1 = clock.TickCountMs();
  const uint64_t q2 = clock.PerformanceCounter();
  const uint64_t frequency = clock.PerformanceFrequency();

  const double d = static_cast<double>(t1 - t0);
  // The elapsed count less the cost of one counter read: (Q2 - Q1) - (Q1 - Q0).
  const double counted = static_cast<double>(static_cast<int64_t>((q2 - q1) - (q1 - q0)));
  const double qpc = UsableClock(d / (counted / static_cast<double>(frequency)) * 1e-6);
  const double mmt = UsableClock(d / (static_cast<double>(m1 - m0) * 0.001) * 1e-6);
  const double wt = UsableClock(d / (static_cast<double>(w1 - w0) * 0.001) * 1e-6);

  switch (mode) {
    case 0:
      if (options.driverLess) return mmt;
      if (qpc > 0.0 && mmt > 0.0 && qpc > mmt * 0.995 && qpc < mmt * 1.005) {
        methodText = "QPC";
        return qpc;
      }
      methodText = "MMT";
      return mmt;
    case 2:
      methodText = "MMT";
      return mmt;
    case 3:
    case 4:
      methodText = "QPC";
      return qpc;
    default:
      methodText = "WT";
      return wt;
  }
}

}  // namespace velora
