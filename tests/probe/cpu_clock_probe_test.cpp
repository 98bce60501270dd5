// The clock steps of Identify and the re-measuring ids, over the fake clock and driver.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cpu_fixture.h"
#include "probe/clock/multiplier_method.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

constexpr uint32_t kTsc = 1u << 4;
constexpr uint32_t kMsr = 1u << 5;

// The naming tables choose the method; this stands in for them.
class NamedCpuProbe : public CpuProbe {
 public:
  // The constructor's identification runs the plain tables; the second one these.
  NamedCpuProbe(ProbeEnvironment& env, int32_t method, bool warmUp = false)
      : CpuProbe(env, 1, 0), method_(method), warmUp_(warmUp) {
    Identify(1, 0);
  }

 protected:
  void NameProcessor() override {
    CpuProbe::NameProcessor();
    fields_.multiplierMethod = method_;
    fields_.warmUpNeeded = warmUp_;
  }

 private:
  int32_t method_ = 0;
  bool warmUp_ = false;
};

class CpuClockProbeTest : public CpuFixture {
 protected:
  void SetUp() override { t.clock.tscMhz = 2000.0; }

  void IntelPentiumM(uint32_t edx) {
    SetVendor("GenuineIntel", 2);
    SetLeaf(1, {0x000006D8, 0, 0, edx});  // family 6 model 13
  }
};

TEST_F(CpuClockProbeTest, IdentifyMeasuresWhenTheProcessorHasACounter) {
  IntelPentiumM(kTsc);
  const CpuFields& f = Identify();
  EXPECT_NEAR(f.coreClock, 2000.0, 0.1);
  EXPECT_EQ(Text(0x1010), "QPC");
  EXPECT_EQ(Text(0x1020), "2000.00");
}

TEST_F(CpuClockProbeTest, NoCounterLeavesTheClockUnknownAndTheDerivedOnesEmptyToThePages) {
  IntelPentiumM(kMsr);
  t.driver.msrs[0x2A] = 16u << 22;
  const CpuFields& f = Identify();
  EXPECT_EQ(f.coreClock, -1.0);
  EXPECT_EQ(Text(0x1010), "");
  EXPECT_EQ(t.clock.nowNs, 0u);  // nothing waited
}

TEST_F(CpuClockProbeTest, NoCounterGivesNoOverclockFigureBesideARatedClock) {
  IntelPentiumM(kMsr);
  t.driver.msrs[0x2A] = 10u << 22;
  t.driver.msrs[0x198] = uint64_t{15} << 40;
  t.cpuid.SetBrandString("Intel(R) Pentium(R) M processor 2.00GHz");
  SetHighestExtended(0x80000004);
  NamedCpuProbe probe(t.env, 8);
  const CpuFields& f = probe.Fields();
  EXPECT_NEAR(f.ratedClock, 2000.0, 1e-3);  // the registers still rate it
  EXPECT_EQ(f.coreClock, -1.0);
  // -1 MHz against 2000 would read as "-100.05"; the percentage stays unknown instead.
  EXPECT_EQ(f.overclockPercent, -100.0);
}

TEST_F(CpuClockProbeTest, NoMsrFlagReadsNoRegister) {
  IntelPentiumM(kTsc);
  t.driver.msrs[0x2A] = 16u << 22;
  Identify();
  EXPECT_EQ(Int(0x1040), 0);
  EXPECT_EQ(Text(0x1027), "-1.00");
}

TEST_F(CpuClockProbeTest, RegistersAreReadAndTheProcessorNamedAgain) {
  IntelPentiumM(kTsc | kMsr);
  t.driver.msrs[0x2A] = 10u << 22;
  t.driver.msrs[0x198] = uint64_t{15} << 40;
  t.cpuid.SetBrandString("Intel(R) Pentium(R) M processor 2.00GHz");
  SetHighestExtended(0x80000004);
  NamedCpuProbe probe(t.env, 8);
  const CpuFields& f = probe.Fields();
  EXPECT_EQ(f.clockRegister1Low, 10u << 22);
  EXPECT_EQ(f.clockRegister2Low, 0u);  // model 13 reads 0x17 as second: not in the map
  EXPECT_DOUBLE_EQ(f.multiplier, 10.0);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 15.0);
  EXPECT_NEAR(f.busClock, 200.0, 0.1);
  EXPECT_NEAR(f.ratedClock, 2000.0, 1e-3);
  EXPECT_NEAR(f.overclockPercent, 0.0, 0.01);
}

TEST_F(CpuClockProbeTest, RemeasuringIdsPickTheirModes) {
  IntelPentiumM(kTsc);
  // The tables would ask a Dothan for warm-up; without it the waits below are the modes' own.
  probe_ = std::make_unique<NamedCpuProbe>(t.env, 0, false);
  t.clock.nanosecondsPerTickRead = 0;            // every wait then ends on the millisecond
  t.clock.performanceFrequency = 1'010'000'000;  // from now on QPC and MMT disagree by 1%
  uint64_t before = t.clock.nowNs;
  EXPECT_EQ(Text(0x102A), "2000.00");
  EXPECT_EQ(Text(0x1010), "MMT");
  EXPECT_NEAR(static_cast<double>(t.clock.nowNs - before), 500e6, 1e6);

  EXPECT_EQ(Text(0x102C), "2000.00");
  EXPECT_EQ(Text(0x1010), "WT");
  EXPECT_EQ(Text(0x102D), "2000.00");
  EXPECT_EQ(Text(0x1010), "MMT");
  before = t.clock.nowNs;
  EXPECT_EQ(Text(0x102E), "2020.00");
  EXPECT_EQ(Text(0x1010), "QPC");
  EXPECT_NEAR(static_cast<double>(t.clock.nowNs - before), 100e6, 1e6);
  EXPECT_EQ(Text(0x102F), "2020.00");
}

TEST_F(CpuClockProbeTest, RereadingKeepsTheClockAndRecomputesTheMultipliers) {
  IntelPentiumM(kTsc | kMsr);
  t.driver.msrs[0x2A] = 10u << 22;
  t.driver.msrs[0x198] = uint64_t{15} << 40;
  NamedCpuProbe probe(t.env, 8);
  double clock = probe.Fields().coreClock;
  t.driver.msrs[0x2A] = 12u << 22;  // the processor changed its ratio
  uint64_t before = t.clock.nowNs;
  std::string text;
  probe.GetString(0x102B, text);
  EXPECT_EQ(text, "12.00");
  EXPECT_EQ(t.clock.nowNs, before);  // nothing measured
  EXPECT_EQ(probe.Fields().coreClock, clock);
  EXPECT_NEAR(probe.Fields().busClock, clock / 12.0, 1e-9);
}

TEST_F(CpuClockProbeTest, RemeasuringWithoutACounterOnlyRereads) {
  IntelPentiumM(0);
  Identify();
  EXPECT_EQ(Text(0x102A), "-1.00");
  EXPECT_EQ(t.clock.nowNs, 0u);
}

TEST_F(CpuClockProbeTest, WarmUpRunsForFlaggedProcessors) {
  IntelPentiumM(kTsc);
  // The first identification runs the plain tables, which flag a Dothan: 1000 + 500 ms; the
  // second one these, without the flag: 500 ms.
  NamedCpuProbe plain(t.env, 0, false);
  EXPECT_NEAR(static_cast<double>(t.clock.nowNs), 2000e6, 8e6);
  t.clock.nowNs = 0;
  NamedCpuProbe flagged(t.env, 0, true);  // twice 1000 ms of warm-up and 500 ms
  EXPECT_NEAR(static_cast<double>(t.clock.nowNs), 3000e6, 8e6);
  uint64_t before = t.clock.nowNs;
  std::string text;
  flagged.GetString(0x102F, text);  // mode 4: no warm-up, 100 ms
  EXPECT_NEAR(static_cast<double>(t.clock.nowNs - before), 100e6, 1e6);
}

TEST_F(CpuClockProbeTest, TodaysProcessorInAVirtualMachineTakesTheBrandClock) {
  // Family 6 model 0x9E with the MSR flag, but every read refused.
  SetVendor("GenuineIntel", 2);
  SetLeaf(1, {0x000906EA, 0, 0, kTsc | kMsr});
  SetHighestExtended(0x80000004);
  t.cpuid.SetBrandString("Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
  t.clock.tscMhz = 3192.0;
  NamedCpuProbe probe(t.env, kMethodIntelRatioRegisters);
  const CpuFields& f = probe.Fields();
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.nominalBusClock, -1.0);
  EXPECT_NEAR(f.ratedClock, 3200.0, 1e-9);
  EXPECT_NEAR(f.overclockPercent, -0.25, 0.01);
}

TEST_F(CpuClockProbeTest, WaitTimeIsTheAbsoluteValueOfTheSetting) {
  IntelPentiumM(0);
  testing::TempFolder folder;
  std::string path = folder.file("velora_clock_wait_time.ini");
  {
    std::ofstream ini(path);
    ini << "[Setting]\nCqDualWaitTime=-250\n";
  }
  t.env.settingsFile = path;
  EXPECT_EQ(Identify().waitTimeMs, 250);
  {
    std::ofstream ini(path);
    ini << "[setting]\ncqdualwaittime=40\n";
  }
  probe_->Identify(1, 0);  // read again at every identification
  EXPECT_EQ(probe_->Fields().waitTimeMs, 40);
  {
    std::ofstream ini(path);
    ini << "[Setting]\nOther=1\n";
  }
  probe_->Identify(1, 0);
  EXPECT_EQ(probe_->Fields().waitTimeMs, 1000);
  {
    std::ofstream ini(path);
    ini << "[Setting]\nCqDualWaitTime=-2147483648\n";
  }
  probe_->Identify(1, 0);
  EXPECT_EQ(probe_->Fields().waitTimeMs, 2147483647);
  std::remove(path.c_str());
  probe_->Identify(1, 0);
  EXPECT_EQ(probe_->Fields().waitTimeMs, 1000);
}

}  // namespace
}  // namespace velora
