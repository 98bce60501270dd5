// From a measured rate to value and score, on scripted clocks.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/bench_kernel.h"
#include "engine/fpu_kernels.h"
#include "engine/sub_test_runner.h"
#include "engine/sub_test_table.h"
#include "platform/fake/fake_clock_source.h"
#include "platform/fake/fake_processor_affinity.h"

namespace velora::engine {
namespace {

class CountingKernel : public BenchKernel {
 public:
  bool prepareOk = true;
  int failAtRun = -1;  // Verify fails on this run (0-based)
  int runs = 0;
  bool Prepare() override { return prepareOk; }
  void Run() override { ++runs; }
  bool Verify() override { return runs - 1 != failAtRun; }
  double WorkPerRun() const override { return 500.0; }
};

// Every clock read moves 1 ms on, so each run measures exactly 1 ms.
FakeClockSource MillisecondClock() {
  FakeClockSource clock;
  clock.nanosecondsPerRead = 1'000'000;
  return clock;
}

TEST(MeasureKernel, RunsUntilTheTimeIsSpentAndReportsTheRate) {
  FakeClockSource clock = MillisecondClock();
  CountingKernel kernel;
  Measurement m = MeasureKernel(kernel, clock, 0.010);
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.runs, 10);
  EXPECT_DOUBLE_EQ(m.workPerSecond, 500.0 / 0.001);
}

TEST(MeasureKernel, AtLeastOneRunEvenWithoutATimeBudget) {
  FakeClockSource clock = MillisecondClock();
  CountingKernel kernel;
  EXPECT_EQ(MeasureKernel(kernel, clock, 0.0).runs, 1);
}

TEST(MeasureKernel, AFailedCheckOnAnyRunFailsTheMeasurement) {
  FakeClockSource clock = MillisecondClock();
  CountingKernel kernel;
  kernel.failAtRun = 4;
  Measurement m = MeasureKernel(kernel, clock, 0.010);
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(kernel.runs, 5) << "stops at the failing run";
}

TEST(MeasureKernel, FailedPreparationRunsNothing) {
  FakeClockSource clock = MillisecondClock();
  CountingKernel kernel;
  kernel.prepareOk = false;
  EXPECT_FALSE(MeasureKernel(kernel, clock, 0.010).ok);
  EXPECT_EQ(kernel.runs, 0);
}

TEST(MeasureKernel, AStoppedClockCannotLoopForever) {
  FakeClockSource clock;  // never advances
  CountingKernel kernel;
  EXPECT_FALSE(MeasureKernel(kernel, clock, 0.010).ok);
}

// A transform that gets one output wrong after doing all the work: fast, but wrong.
class WrongFft : public FftKernel {
 public:
  using FftKernel::FftKernel;
  void Run() override {
    FftKernel::Run();
    OutputReal()[0] += 0.5;
  }
};

TEST(MeasureKernel, AWrongFftNeverGivesARate) {
  FakeClockSource clock = MillisecondClock();
  WrongFft kernel(KernelSize::kSmall);
  Measurement m = MeasureKernel(kernel, clock, 0.0);
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(m.workPerSecond, 0.0);
}

constexpr RunBudget kQuick{.size = KernelSize::kSmall, .minSeconds = 0.0};

TEST(RunSubTest, FibonacciValueAndScoreFollowTheRate) {
  FakeClockSource clock = MillisecondClock();
  FakeProcessorAffinity oneProcessor({3});
  int32_t score = -9, value = -9;
  ASSERT_EQ(RunSubTest(kAlu, 0, nullptr, clock, oneProcessor, kQuick, &score, &value), 0);
  // fib(18) makes 8361 calls, in 1 ms: 8361 thousand calls per second.
  EXPECT_EQ(value, 8361);
  const double rate = 8361.0 / 0.001;
  EXPECT_EQ(score, static_cast<int32_t>(std::round(rate / SubTestRows(kAlu)[0].scoreDivisor)));
  EXPECT_GT(score, 0);
  EXPECT_EQ(oneProcessor.bindings, 1) << "one processor, one worker";
}

// Two processors do twice the work in the same common time: the score counts work, so it
// doubles, and a two-processor figure reads like two one-processor figures.
TEST(RunSubTest, EveryProcessorOfTheMaskAddsItsWork) {
  FakeClockSource clock = MillisecondClock();
  FakeProcessorAffinity twoProcessors({0, 1});
  int32_t score = 0, value = 0;
  ASSERT_EQ(RunSubTest(kAlu, 0, nullptr, clock, twoProcessors, kQuick, &score, &value), 0);
  EXPECT_EQ(value, 2 * 8361);
  EXPECT_EQ(score, static_cast<int32_t>(
                       std::round(2 * 8361.0 / 0.001 / SubTestRows(kAlu)[0].scoreDivisor)));
  EXPECT_EQ(twoProcessors.bindings, 2);
}

TEST(RunSubTest, AWorkerThatCannotBeBoundFailsTheSubTest) {
  FakeClockSource clock = MillisecondClock();
  FakeProcessorAffinity refusing({0, 1});
  refusing.refuseBinding = true;
  int32_t score = 0, value = 5;
  EXPECT_EQ(RunSubTest(kFpu, 0, nullptr, clock, refusing, kQuick, &score, &value), -1);
  EXPECT_EQ(score, -1);
  EXPECT_EQ(value, 0);
}

TEST(RunSubTest, EveryRealSubTestOfTheComputeTestsScores) {
  FakeClockSource clock = MillisecondClock();
  FakeProcessorAffinity processors({0, 1});
  for (int32_t test : {kAlu, kFpu, kMem, kMmt}) {
    const auto rows = SubTestRows(test);
    for (size_t s = 0; s < rows.size(); ++s) {
      int32_t score = 0, value = 0;
      EXPECT_EQ(RunSubTest(test, static_cast<int32_t>(s), nullptr, clock, processors, kQuick,
                           &score, &value),
                0)
          << rows[s].name;
      EXPECT_GT(score, 0) << rows[s].name;
      EXPECT_GT(value, 0) << rows[s].name;
    }
  }
}

// Drawing measures the display path: one kernel on the calling thread whatever the mask, so no
// worker is bound (copies on several threads would share and tear down one EGL display).
TEST(RunSubTest, DrawingTestsRunOneStreamOnTheCallingThread) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  FakeClockSource clock = MillisecondClock();
  for (int32_t test : {kGdi, kD2d}) {
    FakeProcessorAffinity processors({0, 1, 2, 3});
    int32_t score = 0, value = 0;
    EXPECT_EQ(RunSubTest(test, 1, nullptr, clock, processors, kQuick, &score, &value), 0) << test;
    EXPECT_GT(value, 0) << test;
    EXPECT_EQ(processors.bindings, 0) << test;
  }
}

TEST(RunSubTest, HddWithoutARecordFailsWithANegativeScore) {
  FakeClockSource clock = MillisecondClock();
  FakeProcessorAffinity processors({0});
  int32_t score = 0, value = 3;
  EXPECT_EQ(RunSubTest(kHdd, 0, nullptr, clock, processors, RunBudget{}, &score, &value), -1);
  EXPECT_LT(score, 0);
  EXPECT_EQ(value, 0);
}

TEST(ScaleRate, SaturatesAndRefusesNonsense) {
  EXPECT_EQ(ScaleRate(1e12, 1.0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ScaleRate(std::nan(""), 1.0), 0);
  EXPECT_EQ(ScaleRate(-5.0, 1.0), 0);
  EXPECT_EQ(ScaleRate(2.6, 1.0), 3);
}

}  // namespace
}  // namespace velora::engine
