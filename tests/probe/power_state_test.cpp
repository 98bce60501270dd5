// The power-state block: reading the codes and their texts, and the commands that write new
// codes, against a fake driver that models how the registers answer.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "cpu_fixture.h"
#include "probe/power/power_commands.h"
#include "probe/probe_id_table.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

namespace ids = probe_id;

constexpr uint32_t kFidVidControl = 0xC0010041;
constexpr uint32_t kFidVidStatus = 0xC0010042;

// A probe whose power-control type and processor counts a test may set after identifying.
class PowerProbe : public CpuProbe {
 public:
  using CpuProbe::CpuProbe;
  CpuFields& Mutable() { return fields_; }
};

class PowerStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.env.log = [this](const std::string& line) { logLines.push_back(line); };
    Allow(true);
  }

  void Allow(bool allowed) {
    // A folder of this test's own: tests run side by side in separate processes.
    std::string path = folder_.file("velora_power_state.ini");
    std::ofstream ini(path);
    ini << "[Setting]\nCqDualWaitTime=50\n";
    if (allowed) ini << "AllowPowerControl=1\n";
    t.env.settingsFile = path;
  }

  // A processor without CPUID leaves of its own: the tests give it the type and counts.
  PowerProbe& Probe(int32_t type, int32_t processors = 1, int32_t cores = 1) {
    t.system.processors = processors;
    probe_ = std::make_unique<PowerProbe>(t.env, 1, 0);
    probe_->Mutable().powerControlType = type;
    probe_->Mutable().coresPerPackage = cores;
    return *probe_;
  }

  void SetMsr(uint32_t index, uint32_t low, uint32_t high) {
    t.driver.msrs[index] = static_cast<uint64_t>(high) << 32 | low;
  }

  // An AMD processor that finishes every transition at once: bit 16 of a control write moves
  // it to the frequency code (bits 0-5) and the voltage code (bits 8-12) written, bit 17 to the
  // voltage code alone; the status register then reads them.
  void ModelAmdTransitions() {
    t.driver.onMsrWrite = [this](uint32_t index, uint64_t value) {
      if (index != kFidVidControl) return;
      uint64_t status = t.driver.msrs[kFidVidStatus];
      uint32_t low = static_cast<uint32_t>(status), high = static_cast<uint32_t>(status >> 32);
      uint32_t written = static_cast<uint32_t>(value);
      if (written & (1u << 16)) low = (low & ~0x3Fu) | (written & 0x3F);
      if (written & (3u << 16)) high = (high & ~0x1Fu) | ((written >> 8) & 0x1F);
      t.driver.msrs[kFidVidStatus] = static_cast<uint64_t>(high) << 32 | low;
    };
  }

  testing::TempFolder folder_;

  std::vector<uint32_t> WrittenVoltageCodes() const {
    std::vector<uint32_t> out;
    for (const auto& [index, value] : t.driver.msrWrites) {
      if (index == kFidVidControl) out.push_back((static_cast<uint32_t>(value) >> 8) & 0x1F);
    }
    return out;
  }

  int32_t Int(uint32_t id) {
    int32_t v = 0;
    probe_->GetInt(id, v);
    return v;
  }
  std::string Text(uint32_t id) {
    std::string s;
    probe_->GetString(id, s);
    return s;
  }

  TestProbeEnvironment t;
  std::unique_ptr<PowerProbe> probe_;
  std::vector<std::string> logLines;
};

// ---- Refresh ----

TEST_F(PowerStateTest, RefreshWithTypeZeroChangesNothingAndLeavesTheCallersValue) {
  Probe(0);
  SetMsr(0x198, 0x0C20, 0x0E28);
  int32_t value = 77;
  EXPECT_EQ(probe_->GetInt(ids::kPowerRefresh, value), 0);
  EXPECT_EQ(value, 77);
  EXPECT_EQ(Int(ids::kPowerCurrentFrequencyCode), 0);
  EXPECT_EQ(Text(ids::kPowerCurrentMultiplierText), "");
  EXPECT_TRUE(t.driver.msrWrites.empty());
}

TEST_F(PowerStateTest, RefreshK7ReadsThreeCodesOfEachKindWithTheirTables) {
  Probe(7);
  // Frequency codes 12, 4, 18; voltage codes 14, 8, 2.
  SetMsr(kFidVidStatus, 0x0012040C, 0x0002080E);
  int32_t value = 0;
  probe_->GetInt(ids::kPowerRefresh, value);
  EXPECT_EQ(Int(ids::kPowerCurrentFrequencyCode), 12);
  EXPECT_EQ(Int(ids::kPowerStartFrequencyCode), 4);
  EXPECT_EQ(Int(ids::kPowerMaximumFrequencyCode), 18);
  EXPECT_EQ(Int(ids::kPowerCurrentVoltageCode), 14);
  // Ratio table entries 18, 10 and 8 are twice the multipliers.
  EXPECT_EQ(Text(ids::kPowerCurrentMultiplierText), "9.0");
  EXPECT_EQ(Text(ids::kPowerStartMultiplierText), "5.0");
  EXPECT_EQ(Text(ids::kPowerMaximumMultiplierText), "4.0");
  // Table B: 2000 - 50 x code up to code 14.
  EXPECT_EQ(Text(ids::kPowerCurrentVoltageText), "1.300");
  EXPECT_EQ(Text(ids::kPowerStartVoltageText), "1.600");
  EXPECT_EQ(Text(ids::kPowerMaximumVoltageText), "1.900");
  // Table A after 0x1228: 1850 - 25 x code.
  probe_->Set(ids::kPowerAllowVoltageCode15, 1);
  probe_->GetInt(ids::kPowerRefresh, value);
  EXPECT_EQ(Text(ids::kPowerCurrentVoltageText), "1.500");
  EXPECT_TRUE(t.driver.msrWrites.empty());
}

TEST_F(PowerStateTest, RefreshK8TakesSixBitFrequencyCodes) {
  Probe(8);
  SetMsr(kFidVidStatus, 0x000E022A, 0x00000206);  // frequency 42, 2, 14; voltage 6, 2, 0
  int32_t value = 0;
  probe_->GetInt(ids::kPowerRefresh, value);
  EXPECT_EQ(Int(ids::kPowerCurrentFrequencyCode), 42);
  EXPECT_EQ(Text(ids::kPowerCurrentMultiplierText), "25.0");  // 42 x 0.5 + 4
  EXPECT_EQ(Text(ids::kPowerStartMultiplierText), "5.0");
  EXPECT_EQ(Text(ids::kPowerMaximumMultiplierText), "11.0");
  EXPECT_EQ(Text(ids::kPowerCurrentVoltageText), "1.400");  // 1.55 - 6 x 0.025
  EXPECT_EQ(Text(ids::kPowerStartVoltageText), "1.500");
  EXPECT_EQ(Text(ids::kPowerMaximumVoltageText), "1.550");
}

TEST_F(PowerStateTest, RefreshPentiumMAndPentium4ReadCurrentAndMaximumOnly) {
  Probe(86);
  SetMsr(0x198, 0x0C20, 0x0E28);  // current 12 at code 32, maximum 14 at code 40
  int32_t value = 0;
  probe_->GetInt(ids::kPowerRefresh, value);
  EXPECT_EQ(Text(ids::kPowerCurrentMultiplierText), "12.0");
  EXPECT_EQ(Text(ids::kPowerMaximumMultiplierText), "14.0");
  EXPECT_EQ(Text(ids::kPowerCurrentVoltageText), "1.212");  // 32 x 0.016 + 0.7
  EXPECT_EQ(Text(ids::kPowerMaximumVoltageText), "1.340");
  EXPECT_EQ(Text(ids::kPowerStartMultiplierText), "");
  EXPECT_EQ(Int(ids::kPowerStartVoltageCode), 0);

  probe_->Mutable().powerControlType = 87;
  probe_->GetInt(ids::kPowerRefresh, value);
  EXPECT_EQ(Text(ids::kPowerCurrentVoltageText), "1.0750");  // table entry 32: 10750
  EXPECT_EQ(Text(ids::kPowerMaximumVoltageText), "0.8750");  // entry 40: 8750
}

// ---- Commands ----

TEST_F(PowerStateTest, PentiumMFrequencyCodeIsWrittenPlusSixOnEveryProcessor) {
  // Identified, not set: family 6 model 9 is a Pentium M.
  t.cpuid.Set(0, 0, {2, 0x756E6547, 0x6C65746E, 0x49656E69});  // "GenuineIntel"
  t.cpuid.Set(1, 0, {0x00000695, 0, 0, 0});
  t.system.processors = 2;
  probe_ = std::make_unique<PowerProbe>(t.env, 1, 0);
  ASSERT_EQ(Int(ids::kPowerControlType), 86);
  SetMsr(0x199, 0xABCD1234, 0x5);
  uint64_t before = t.clock.nowNs;
  EXPECT_EQ(probe_->Set(ids::kPowerSetFrequencyCode, 8), 0);
  ASSERT_EQ(t.driver.msrWrites.size(), 2u);
  for (const auto& [index, value] : t.driver.msrWrites) {
    EXPECT_EQ(index, 0x199u);
    EXPECT_EQ(value, 0x5ABCD0E34ull);  // bits 8-15 = 14, everything else kept
  }
  // One wait of CqDualWaitTime before the second processor, pinned one after the other.
  EXPECT_GE(t.clock.nowNs - before, 50'000'000ull);
  std::vector<uint32_t> tail(t.cpuid.pinnedMasks.end() - 2, t.cpuid.pinnedMasks.end());
  EXPECT_EQ(tail, (std::vector<uint32_t>{1, 2}));
  EXPECT_TRUE(logLines.empty());
}

TEST_F(PowerStateTest, IntelPerformanceControlAndVoltageFields) {
  Probe(87);
  SetMsr(0x199, 0xFFFFFFFF, 0);
  probe_->Set(ids::kPowerSetPerformanceControl, 0x1234);
  EXPECT_EQ(t.driver.msrs[0x199], 0xFFFF1234ull);
  probe_->Set(ids::kPowerSetVoltageCode, 0x2A);
  EXPECT_EQ(t.driver.msrs[0x199], 0xFFFF122Aull);
}

TEST_F(PowerStateTest, WithoutAllowPowerControlEveryCommandIsRefused) {
  Allow(false);
  Probe(86, 2);
  SetMsr(0x199, 0, 0);
  for (uint32_t id :
       {ids::kPowerSetFrequencyCode, ids::kPowerSetPerformanceControl, ids::kPowerSetVoltageCode,
        ids::kPowerAllowVoltageCode15, ids::kPowerClearScratch}) {
    EXPECT_EQ(probe_->Set(id, 8), 0);
  }
  EXPECT_TRUE(t.driver.msrWrites.empty());
  EXPECT_EQ(probe_->Fields().voltageTableA, 0);
  ASSERT_EQ(logLines.size(), 5u);
  EXPECT_NE(logLines[0].find("AllowPowerControl"), std::string::npos);
  // The reads stay free.
  int32_t value = 0;
  EXPECT_EQ(probe_->GetInt(ids::kPowerRefresh, value), 0);
}

TEST_F(PowerStateTest, ARefusedWriteEndsTheCommandAndSaysSo) {
  Probe(86, 4);
  SetMsr(0x199, 0, 0);
  t.driver.refuseMsrWrites = true;
  size_t pinsBefore = t.cpuid.pinnedMasks.size();
  probe_->Set(ids::kPowerSetFrequencyCode, 8);
  EXPECT_TRUE(t.driver.msrWrites.empty());
  EXPECT_EQ(t.cpuid.pinnedMasks.size() - pinsBefore, 1u);  // no other processor tried
  ASSERT_EQ(logLines.size(), 1u);
  EXPECT_NE(logLines[0].find("lockdown"), std::string::npos);
}

TEST_F(PowerStateTest, K7VoltageCode15NeedsTableAThenIsSteppedTo) {
  Probe(7);
  ModelAmdTransitions();
  SetMsr(kFidVidStatus, 0, 13);
  SetMsr(kFidVidControl, 0, 0);
  probe_->Set(ids::kPowerSetVoltageCode, 15);
  EXPECT_TRUE(t.driver.msrWrites.empty());
  probe_->Set(ids::kPowerSetVoltageCode, 31);  // never, with either table
  EXPECT_TRUE(t.driver.msrWrites.empty());

  probe_->Set(ids::kPowerAllowVoltageCode15, 1);
  probe_->Set(ids::kPowerSetVoltageCode, 15);
  EXPECT_EQ(WrittenVoltageCodes(), (std::vector<uint32_t>{14, 15}));
  for (const auto& [index, value] : t.driver.msrWrites) {
    EXPECT_EQ(value >> 32, 100u);
    EXPECT_NE(value & (1u << 17), 0u);
  }
}

TEST_F(PowerStateTest, K7VoltageStepsOver15WithTableB) {
  Probe(7);
  ModelAmdTransitions();
  SetMsr(kFidVidStatus, 0, 14);
  SetMsr(kFidVidControl, 0, 0);
  probe_->Set(ids::kPowerSetVoltageCode, 17);
  EXPECT_EQ(WrittenVoltageCodes(), (std::vector<uint32_t>{16, 17}));
  t.driver.msrWrites.clear();
  probe_->Set(ids::kPowerSetVoltageCode, 13);
  EXPECT_EQ(WrittenVoltageCodes(), (std::vector<uint32_t>{16, 14, 13}));
}

TEST_F(PowerStateTest, TheVoltageTableFlagOutlivesIdentification) {
  Probe(7);
  probe_->Set(ids::kPowerAllowVoltageCode15, 1);
  probe_->Identify(1, 0);
  EXPECT_EQ(probe_->Fields().voltageTableA, 1);
  EXPECT_EQ(probe_->Fields().powerControlType, 0);  // the rest of the block is cleared
}

TEST_F(PowerStateTest, ADualCoreK8AloneIsProgrammedOnce) {
  Probe(8, 2, 2);
  ModelAmdTransitions();
  SetMsr(kFidVidStatus, 0x0A, 6);
  SetMsr(kFidVidControl, 0, 0);
  probe_->Set(ids::kPowerSetFrequencyCode, 12);
  ASSERT_EQ(t.driver.msrWrites.size(), 1u);
  EXPECT_EQ(t.driver.msrWrites[0].second, (2000ull << 32) | (1u << 16) | 12);

  // Two single-core K8s: both.
  t.driver.msrWrites.clear();
  probe_->Mutable().coresPerPackage = 1;
  probe_->Set(ids::kPowerSetFrequencyCode, 12);
  EXPECT_EQ(t.driver.msrWrites.size(), 2u);
}

TEST_F(PowerStateTest, K8CommandsPrepareTheNorthBridgeOnceUntil0x1203) {
  // The K8's own north bridge function (1022:1103) with its full configuration space.
  PciAddress bridge = MakePciAddress(0, 0x18, 3);
  t.driver.AddFunction(MakePciAddress(0, 0x18, 0), 0x1022, 0x1100, 0x060000, 0x80);
  t.driver.AddFunction(bridge, 0x1022, 0x1103, 0x060000);
  t.driver.pciConfig[bridge].resize(256);
  Probe(8);
  ModelAmdTransitions();
  SetMsr(kFidVidStatus, 0x0A, 6);
  SetMsr(kFidVidControl, 0, 0);
  probe_->Set(ids::kPowerClearScratch, 0);
  probe_->Set(ids::kPowerSetFrequencyCode, 12);
  EXPECT_EQ(t.driver.pciConfig[bridge][0x82], 0x04);
  t.driver.pciConfig[bridge][0x82] = 0;
  probe_->Set(ids::kPowerSetFrequencyCode, 10);
  EXPECT_EQ(t.driver.pciConfig[bridge][0x82], 0);  // prepared already
  probe_->Set(ids::kPowerClearScratch, 0);
  probe_->Set(ids::kPowerSetVoltageCode, 5);
  EXPECT_EQ(t.driver.pciConfig[bridge][0x82], 0x04);
}

TEST_F(PowerStateTest, K8VoltageKeepsTheCurrentFrequency) {
  Probe(8);
  ModelAmdTransitions();
  SetMsr(kFidVidStatus, 0x0A, 6);
  SetMsr(kFidVidControl, 0xFFFFFFFF, 0);
  probe_->Set(ids::kPowerSetVoltageCode, 4);
  EXPECT_EQ(WrittenVoltageCodes(), (std::vector<uint32_t>{5, 4}));
  for (const auto& [index, value] : t.driver.msrWrites) {
    EXPECT_EQ(value & 0x3F, 0x0Au);
    EXPECT_EQ(value >> 32, 22u);
  }
}

TEST_F(PowerStateTest, TheAmdTransitionWaitIsBoundedPerProcessor) {
  Probe(8, 2, 1);
  SetMsr(kFidVidStatus, 1u << 31, 0);  // pending for ever
  SetMsr(kFidVidControl, 0, 0);
  uint64_t before = t.clock.nowNs;
  probe_->Set(ids::kPowerSetFrequencyCode, 12);
  uint64_t elapsedMs = (t.clock.nowNs - before) / 1'000'000ull;
  // Both processors tried, each given up after the limit; plus the wait between them.
  EXPECT_EQ(t.driver.msrWrites.size(), 2u);
  EXPECT_GE(elapsedMs, 2 * kTransitionWaitLimitMs + 50);
  EXPECT_LT(elapsedMs, 2 * kTransitionWaitLimitMs + 50 + 20);
  EXPECT_EQ(logLines.size(), 2u);
}

TEST_F(PowerStateTest, ViaAndK6CommandsTouchTheirRegistersAndPorts) {
  Probe(1);
  SetMsr(0x1147, 0x00080000 | (0xFu << 23), 7);
  probe_->Set(ids::kPowerSetFrequencyCode, 5);
  ASSERT_EQ(t.driver.msrWrites.size(), 2u);
  EXPECT_EQ(t.driver.msrWrites[0].second, (7ull << 32) | (5u << 23) | (1u << 19));
  EXPECT_EQ(t.driver.msrWrites[1].second, (7ull << 32) | (5u << 23));
  EXPECT_EQ(t.driver.haltCount, 1);

  t.driver.msrWrites.clear();
  probe_->Mutable().powerControlType = 2;
  SetMsr(0x110A, 0, 0);
  probe_->Set(ids::kPowerSetFrequencyCode, 0x13);  // ratio 3 and bit 4 at bit 14
  ASSERT_EQ(t.driver.msrWrites.size(), 2u);
  EXPECT_EQ(t.driver.msrWrites[0].second, (3u << 16) | (1u << 14) | (1u << 8));
  EXPECT_EQ(t.driver.msrWrites[1].second, (3u << 16) | (1u << 14));

  t.driver.msrWrites.clear();
  probe_->Mutable().powerControlType = 6;
  t.driver.ports[0xFFF8] = 0xFFFFFFF5;
  probe_->Set(ids::kPowerSetFrequencyCode, 4);
  EXPECT_EQ(t.driver.ports[0xFFF8], 0x5u | ((4u | 0xB0u) << 5));
  ASSERT_EQ(t.driver.msrWrites.size(), 2u);
  EXPECT_EQ(t.driver.msrWrites[0], std::make_pair(0xC0000086u, uint64_t{0xFFF1}));
  EXPECT_EQ(t.driver.msrWrites[1], std::make_pair(0xC0000086u, uint64_t{0xFFF0}));
}

TEST_F(PowerStateTest, NoDriverNoWriteAndALine) {
  Probe(86);
  t.driver.status = kDriverNoDevice;
  probe_->Set(ids::kPowerSetFrequencyCode, 8);
  EXPECT_TRUE(t.driver.msrWrites.empty());
  EXPECT_EQ(logLines.size(), 1u);
}

}  // namespace
}  // namespace velora
