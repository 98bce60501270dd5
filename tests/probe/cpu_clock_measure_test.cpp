// The core clock against the scripted timers. With no read cost the fake timers advance only
// by the 50 us of each yield, so a 500 ms wait ends exactly at 500 ms and every figure below
// follows from the counter rate (1000 MHz) and the frequency the performance counter claims.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/fake/fake_clock_source.h"
#include "probe/clock/cpu_clock_measure.h"

namespace velora {
namespace {

class MeasureCoreClockTest : public ::testing::Test {
 protected:
  void SetUp() override { clock.nanosecondsPerTickRead = 0; }

  double Measure(int32_t mode, bool driverLess = false, bool warmUp = false) {
    return MeasureCoreClock(clock, ClockMeasureOptions{mode, warmUp, driverLess}, text);
  }

  FakeClockSource clock;
  std::string text;
};

TEST_F(MeasureCoreClockTest, Mode0TakesTheCounterWhenItAgreesWithinHalfAPercent) {
  clock.performanceFrequency = 1'003'000'000;  // the counter runs 0.3% fast against the rest
  EXPECT_NEAR(Measure(0), 1003.0, 1e-6);
  EXPECT_EQ(text, "QPC");
  EXPECT_EQ(clock.nowNs, 500'000'000u);

  clock = FakeClockSource{};
  clock.nanosecondsPerTickRead = 0;
  clock.performanceFrequency = 996'000'000;  // 0.4% slow
  EXPECT_NEAR(Measure(0), 996.0, 1e-6);
  EXPECT_EQ(text, "QPC");
}

TEST_F(MeasureCoreClockTest, Mode0FallsBackToTheMultimediaTimerWhenTheyDisagree) {
  clock.performanceFrequency = 1'010'000'000;  // 1% apart
  EXPECT_NEAR(Measure(0), 1000.0, 1e-6);
  EXPECT_EQ(text, "MMT");

  clock = FakeClockSource{};
  clock.nanosecondsPerTickRead = 0;
  clock.performanceFrequency = 994'000'000;  // 0.6% apart the other way
  EXPECT_NEAR(Measure(0), 1000.0, 1e-6);
  EXPECT_EQ(text, "MMT");
}

TEST_F(MeasureCoreClockTest, Mode0WithoutADriverReturnsTheMultimediaClockAndLeavesTheText) {
  clock.performanceFrequency = 1'003'000'000;
  EXPECT_NEAR(Measure(0, true), 1000.0, 1e-6);
  EXPECT_EQ(text, "");
  text = "WT";
  Measure(0, true);
  EXPECT_EQ(text, "WT");
}

TEST_F(MeasureCoreClockTest, OtherModesPickTheirTimerAndWait) {
  clock.performanceFrequency = 1'010'000'000;
  EXPECT_NEAR(Measure(2), 1000.0, 1e-6);
  EXPECT_EQ(text, "MMT");
  EXPECT_EQ(clock.nowNs, 1'000'000'000u);

  clock.nowNs = 0;
  EXPECT_NEAR(Measure(3), 1010.0, 1e-6);
  EXPECT_EQ(text, "QPC");
  EXPECT_EQ(clock.nowNs, 100'000'000u);

  clock.nowNs = 0;
  EXPECT_NEAR(Measure(4, false, true), 1010.0, 1e-6);  // mode 4 never warms up
  EXPECT_EQ(text, "QPC");
  EXPECT_EQ(clock.nowNs, 100'000'000u);

  for (int32_t mode : {1, 5, -3}) {
    clock.nowNs = 0;
    text.clear();
    EXPECT_NEAR(Measure(mode), 1000.0, 1e-6) << mode;
    EXPECT_EQ(text, "WT") << mode;
    EXPECT_EQ(clock.nowNs, 1'000'000'000u) << mode;
  }
}

TEST_F(MeasureCoreClockTest, Mode9MeasuresNothing) {
  text = "QPC";
  EXPECT_EQ(Measure(9, false, true), 0.0);
  EXPECT_EQ(text, "QPC");
  EXPECT_EQ(clock.nowNs, 0u);
  EXPECT_EQ(clock.yields, 0);
}

TEST_F(MeasureCoreClockTest, WarmUpSpinsOneSecondWithoutYielding) {
  clock.nanosecondsPerTickRead = 1000;
  Measure(0, false, true);
  // 1000 ms of spinning, then the 500 ms wait (plus the cost of the tick reads).
  EXPECT_GE(clock.nowNs, 1'500'000'000u);
  EXPECT_LT(clock.nowNs, 1'520'000'000u);
  EXPECT_LE(clock.yields, 500'000 / 50 + 1);
}

TEST_F(MeasureCoreClockTest, TheCostOfOneCounterReadIsTakenOff) {
  // Every read costs 1 ms. The counter's elapsed count (Q2 - Q1) spans three reads more than
  // the time-stamp counter's and Q1 - Q0 is one read, so their difference is exactly the
  // span of T1 - T0: the clock comes out at 1000 MHz, where Q2 - Q1 alone would be 2% low.
  clock.nanosecondsPerRead = 1'000'000;
  EXPECT_NEAR(Measure(3), 1000.0, 1e-6);
}

TEST_F(MeasureCoreClockTest, AnAbsentPerformanceCounterNeverGivesNotANumber) {
  clock.performanceFrequency = 0;
  EXPECT_NEAR(Measure(0), 1000.0, 1e-6);
  EXPECT_EQ(text, "MMT");
  double qpc = Measure(3);
  EXPECT_EQ(qpc, -1.0);
  EXPECT_EQ(text, "QPC");
}

TEST_F(MeasureCoreClockTest, ACounterThatStandsStillGivesUnknown) {
  clock.tscMhz = 0.0;
  EXPECT_EQ(Measure(0), -1.0);
  EXPECT_EQ(Measure(1), -1.0);
}

TEST_F(MeasureCoreClockTest, TheMillisecondTimersMayWrapDuringTheWait) {
  // 100 ms before the 32-bit millisecond count wraps.
  clock.nowNs = (uint64_t{1} << 32) * 1'000'000ull - 100'000'000ull;
  EXPECT_NEAR(Measure(2), 1000.0, 1e-3);
  clock.nowNs = (uint64_t{1} << 32) * 1'000'000ull - 100'000'000ull;
  EXPECT_NEAR(Measure(1), 1000.0, 1e-3);
}

TEST_F(MeasureCoreClockTest, TheTimeStampCounterMayWrap) {
  clock.tscOffset = ~uint64_t{0} - 100'000'000ull;  // wraps 100 ms into the wait
  EXPECT_NEAR(Measure(0), 1000.0, 1e-6);
  EXPECT_EQ(text, "QPC");
}

}  // namespace
}  // namespace velora
