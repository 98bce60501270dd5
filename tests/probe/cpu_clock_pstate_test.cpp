// P-state registers of AMD's families 0x10 to 0x16, with register values worked out by hand
// from the published clocks of real processors: Llano's divisor table, Bobcat's divided main
// PLL, boosted states before the rated one, and the reference clock each family counts against.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/fake/fake_driver_link.h"
#include "probe/cpu/cpu_answers.h"
#include "probe/clock/cpu_clock_amd_pstate.h"
#include "probe/clock/cpu_clock_registers.h"
#include "probe/clock/cpu_clock_today.h"
#include "probe/cpu/cpu_probe.h"
#include "probe/clock/multiplier_method.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

constexpr uint64_t kEnabled = uint64_t{1} << 63;
constexpr PciAddress kF3 = MakePciAddress(0, 0x18, 3);
constexpr PciAddress kF4 = MakePciAddress(0, 0x18, 4);

// Families 0x10, 0x11, 0x15, 0x16: CpuFid bits 0 to 5, CpuDid bits 6 to 8, a core VID in 9 to
// 15 so that the decoders must mask it away.
constexpr uint32_t K10Def(uint32_t fid, uint32_t did) { return 0x1Cu << 9 | did << 6 | fid; }
// Llano: CpuFid bits 4 to 8, CpuDid bits 0 to 3.
constexpr uint32_t LlanoDef(uint32_t fid, uint32_t did) { return 0x1Cu << 9 | fid << 4 | did; }
// Bobcat: CpuDidMSD bits 4 to 8, CpuDidLSD bits 0 to 3.
constexpr uint32_t BobcatDef(uint32_t msd, uint32_t lsd) { return 0x2Au << 9 | msd << 4 | lsd; }
// The current P-state number of the COFVID status, bits 16 to 18.
constexpr uint32_t CurPstate(uint32_t n) { return n << 16; }

// A configuration space that reaches the extended registers, with one dword set.
void SetConfigDword(FakeDriverLink& driver, PciAddress function, uint32_t offset,
                    uint32_t value) {
  auto& bytes = driver.pciConfig[function];
  if (bytes.size() < 0x200) bytes.resize(0x200, 0);
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

AmdNorthbridgeClocks Llano(int32_t fidOffset) {
  AmdNorthbridgeClocks nb;
  nb.llanoFidOffset = fidOffset;
  return nb;
}

AmdNorthbridgeClocks Pll(double mhz) {
  AmdNorthbridgeClocks nb;
  nb.mainPllMhz = mhz;
  return nb;
}

TEST(AmdPStateMhz, LlanoDividesByItsNineDivisors) {
  // CpuFid 0x14: 100 x (0x14 + 0x10) = 3600 MHz before the divisor.
  const double expected[] = {3600, 2400, 1800, 1200, 900, 600, 450, 300, 225};
  for (uint32_t did = 0; did < 9; ++did) {
    EXPECT_DOUBLE_EQ(AmdPStateMhz(0x12, LlanoDef(0x14, did)), expected[did]) << did;
  }
  for (uint32_t did : {9u, 10u, 11u, 12u, 13u, 15u}) {
    EXPECT_EQ(AmdPStateMhz(0x12, LlanoDef(0x14, did)), -1.0) << did;
  }
  // Code 0xE divides by 16 as well, and with CpuFid 0 stands for 100 MHz.
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x12, LlanoDef(0x14, 0xE)), 225.0);
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x12, LlanoDef(0x00, 0xE)), 100.0);
  // The A8-3850's P0: CpuFid 0x0D at divisor 1.
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x12, LlanoDef(0x0D, 0)), 2900.0);
  // D18F4x15C bit 30 moves the offset to 0x20; an unread register leaves the clock unknown.
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x12, LlanoDef(0x0D, 2), Llano(0x20)), 2250.0);
  EXPECT_EQ(AmdPStateMhz(0x12, LlanoDef(0x0D, 0), Llano(-1)), -1.0);
}

TEST(AmdPStateMhz, BobcatDividesTheMainPllInQuarterSteps) {
  const AmdNorthbridgeClocks pll = Pll(3200.0);  // MainPllOpFreqId 0x10
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x14, BobcatDef(1, 0), pll), 1600.0);  // E-350 P0: / 2
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x14, BobcatDef(3, 0), pll), 800.0);   // P1: / 4
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x14, BobcatDef(1, 2), pll), 1280.0);  // / 2.5
  EXPECT_NEAR(AmdPStateMhz(0x14, BobcatDef(0x19, 3), pll), 3200.0 / 26.75, 1e-9);
  EXPECT_EQ(AmdPStateMhz(0x14, BobcatDef(1, 4), pll), -1.0);     // LSD above 3
  EXPECT_EQ(AmdPStateMhz(0x14, BobcatDef(0x1A, 0), pll), -1.0);  // MSD above 0x19
  EXPECT_EQ(AmdPStateMhz(0x14, BobcatDef(1, 0)), -1.0);          // no PLL clock known
}

TEST(AmdPStateMhz, GriffinHasFourDivisorsAndTheOthersFive) {
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x11, K10Def(13, 0)), 2100.0);  // Turion X2 Ultra ZM-80
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x11, K10Def(13, 3)), 262.5);
  EXPECT_EQ(AmdPStateMhz(0x11, K10Def(13, 4)), -1.0);
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x15, K10Def(0x10, 4)), 200.0);
  EXPECT_EQ(AmdPStateMhz(0x15, K10Def(0x10, 5)), -1.0);
  EXPECT_EQ(AmdPStateMhz(0x13, K10Def(0x10, 0)), -1.0);
}

TEST(AmdReferenceBusIndex, HyperTransportPartsAt200AndTheApusAt100) {
  EXPECT_EQ(AmdReferenceBusIndex(0x10, 0x0A), 4);  // Thuban
  EXPECT_EQ(AmdReferenceBusIndex(0x11, 0x03), 4);  // Griffin
  EXPECT_EQ(AmdReferenceBusIndex(0x15, 0x01), 4);  // Zambezi
  EXPECT_EQ(AmdReferenceBusIndex(0x15, 0x02), 4);  // Vishera
  EXPECT_EQ(AmdReferenceBusIndex(0x15, 0x10), 2);  // Trinity
  EXPECT_EQ(AmdReferenceBusIndex(0x15, 0x30), 2);  // Kaveri
  EXPECT_EQ(AmdReferenceBusIndex(0x12, 0x01), 2);  // Llano
  EXPECT_EQ(AmdReferenceBusIndex(0x14, 0x02), 2);  // Ontario
  EXPECT_EQ(AmdReferenceBusIndex(0x16, 0x30), 2);  // Beema
  EXPECT_EQ(AmdReferenceBusIndex(0x17, 0x01), 2);  // Zen
}

TEST(ReadAmdNorthbridgeClocks, TheBoostCountOfEachFamily) {
  FakeDriverLink driver;
  SetConfigDword(driver, kF4, 0x15C, 0x0000000F);  // BoostSrc 3, bits 2 and 3 set
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x10, true).boostedStates, 1);  // one bit here
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x15, true).boostedStates, 3);  // bits 2 to 4
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x15, false).boostedStates, 0);
  const int readsBefore = driver.pciReads;
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x11, true).boostedStates, 0);  // Griffin: none
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x16, false).boostedStates, 0);
  EXPECT_EQ(driver.pciReads, readsBefore);  // without the CPUID flag nothing is read
  driver.pciReadErrors[kF4] = EIO;          // as past the first 256 bytes without ECAM
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x15, true).boostedStates, -1);
}

TEST(ReadAmdNorthbridgeClocks, LlanoReadsItsFidOffsetWithOrWithoutBoost) {
  FakeDriverLink driver;
  SetConfigDword(driver, kF4, 0x15C, 0x00000000);
  AmdNorthbridgeClocks nb = ReadAmdNorthbridgeClocks(driver, 0x12, false);
  EXPECT_EQ(nb.llanoFidOffset, 0x10);
  EXPECT_EQ(nb.boostedStates, 0);
  SetConfigDword(driver, kF4, 0x15C, 0x40000005);  // bit 30, one boosted state
  nb = ReadAmdNorthbridgeClocks(driver, 0x12, true);
  EXPECT_EQ(nb.llanoFidOffset, 0x20);
  EXPECT_EQ(nb.boostedStates, 1);
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x15, true).llanoFidOffset, 0x10);  // not read
  driver.pciConfig.erase(kF4);
  nb = ReadAmdNorthbridgeClocks(driver, 0x12, true);
  EXPECT_EQ(nb.llanoFidOffset, -1);
  EXPECT_EQ(nb.boostedStates, -1);
}

TEST(ReadAmdNorthbridgeClocks, TheEnableBitChoosesTheMainPllFieldOrTheDefault) {
  FakeDriverLink driver;
  SetConfigDword(driver, kF3, 0xD4, 0x00000F50);  // MainPllOpFreqId 0x10, enable bit 6
  EXPECT_DOUBLE_EQ(ReadAmdNorthbridgeClocks(driver, 0x14, false).mainPllMhz, 3200.0);
  SetConfigDword(driver, kF3, 0xD4, 0x00000F51);
  EXPECT_DOUBLE_EQ(ReadAmdNorthbridgeClocks(driver, 0x14, false).mainPllMhz, 3300.0);  // E-450
  SetConfigDword(driver, kF3, 0xD4, 0x00000F12);  // field set, enable clear
  EXPECT_DOUBLE_EQ(ReadAmdNorthbridgeClocks(driver, 0x14, false).mainPllMhz, 1600.0);
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x15, false).mainPllMhz, -1.0);  // not read
  driver.pciConfig.erase(kF3);
  EXPECT_EQ(ReadAmdNorthbridgeClocks(driver, 0x14, false).mainPllMhz, -1.0);
}

// The clock step over a processor of today whose registers the fake driver supplies.
class AmdPStateClocksTest : public ::testing::Test {
 protected:
  void Processor(int32_t displayFamily, int32_t displayModel, bool boost, double tscMhz) {
    f.vendorCode = kVendorAmd;
    f.family = 15;
    f.extendedFamily = displayFamily - 15;
    f.model = displayModel & 0xF;
    f.extendedModel = displayModel >> 4;
    f.multiplierMethod = kMethodAmdPStateRegisters;
    f.corePerformanceBoost = boost ? 1 : 0;
    f.busRateFactor = 1;
    f.msrPresent = 1;
    f.coreClock = tscMhz;
  }
  void Definition(int hardwareIndex, uint32_t low) {
    driver.msrs[0xC0010064 + static_cast<uint32_t>(hardwareIndex)] = kEnabled | low;
  }
  std::string Text(uint32_t id) {
    std::string text;
    CpuTextAnswer(f, id, text);
    return text;
  }

  CpuFields f;
  FakeDriverLink driver;
};

TEST_F(AmdPStateClocksTest, LlanoA8_3850At2900) {
  Processor(0x12, 0x01, false, 2900.0);
  SetConfigDword(driver, kF4, 0x15C, 0x00000000);
  Definition(0, LlanoDef(0x0D, 0));                              // 2900: 29 x 100
  Definition(1, LlanoDef(0x08, 0));                              // 2400
  driver.msrs[0xC0010071] = LlanoDef(0x14, 1) | CurPstate(1);  // 3600 / 1.5 = 2400 now
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 29.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 24.0);
  EXPECT_EQ(Text(0x1025), "100.00");
  EXPECT_EQ(Text(0x1024), "2900.00");
  EXPECT_EQ(Text(0x1021), "100.00");  // the counter runs at P0
  EXPECT_EQ(Text(0x1028), "0.00");
}

TEST_F(AmdPStateClocksTest, LlanoA8_3500MRatedAfterItsBoostedState) {
  Processor(0x12, 0x01, true, 1500.0);
  SetConfigDword(driver, kF4, 0x15C, 0x00000005);  // one boosted state, BoostSrc 1
  Definition(0, LlanoDef(0x08, 0));                // Pb0 2400
  Definition(1, LlanoDef(0x0E, 2));                // P0 3000 / 2 = 1500: 15 x 100
  driver.msrs[0xC0010071] = LlanoDef(0x08, 0) | CurPstate(0);
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 15.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 24.0);
  EXPECT_EQ(Text(0x1024), "1500.00");

  // Without the boost control neither the rated state nor the CpuFid offset is known.
  driver.pciReadErrors[kF4] = EIO;
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.clockRegister1Low, 0u);
  EXPECT_EQ(f.amdLlanoFidOffset, -1);
}

TEST_F(AmdPStateClocksTest, ZacateE350At1600FromItsMainPll) {
  Processor(0x14, 0x01, false, 1600.0);
  SetConfigDword(driver, kF3, 0xD4, 0x00000F50);                  // PLL 3200 MHz
  Definition(0, BobcatDef(1, 0));                                 // 1600: 16 x 100
  Definition(1, BobcatDef(3, 0));                                 // 800
  driver.msrs[0xC0010071] = BobcatDef(3, 0) | CurPstate(1);
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.amdMainPllMhz, 3200.0);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 16.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 8.0);
  EXPECT_EQ(Text(0x1025), "100.00");
  EXPECT_EQ(Text(0x1024), "1600.00");
  EXPECT_EQ(Text(0x1021), "100.00");

  // A re-reading takes the PLL again: with its enable bit clear it runs at the 1600 MHz
  // default, and the same divisor 2 rates the part at 800 MHz.
  SetConfigDword(driver, kF3, 0xD4, 0x00000F10);
  ReadClockRegisters(driver, f);
  EXPECT_EQ(Text(0x1024), "800.00");
  EXPECT_EQ(Text(0x1028), "100.00");
}

TEST_F(AmdPStateClocksTest, ZacateWithoutItsPllStaysUnknown) {
  Processor(0x14, 0x01, false, 1600.0);
  f.brandString = "AMD E-350 Processor";
  Definition(0, BobcatDef(1, 0));
  driver.msrs[0xC0010071] = BobcatDef(1, 0);
  driver.pciReadErrors[kF3] = kPciErrorAbort;
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.amdMainPllMhz, -1.0);
  EXPECT_EQ(f.originalMultiplier, -1.0);
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.nominalBusClock, -1.0);
  EXPECT_EQ(f.ratedClock, -1.0);  // and the brand string names no clock
  EXPECT_EQ(f.overclockPercent, -100.0);
}

TEST_F(AmdPStateClocksTest, ZambeziFx8150RatedAfterItsTwoBoostedStates) {
  Processor(0x15, 0x01, true, 3600.0);
  SetConfigDword(driver, kF4, 0x15C, 0x80000009);  // lock, two boosted states, BoostSrc 1
  Definition(0, K10Def(0x1A, 0));                  // Pb0 4200
  Definition(1, K10Def(0x17, 0));                  // Pb1 3900
  Definition(2, K10Def(0x14, 0));                  // P0 3600: 18 x 200
  Definition(3, K10Def(0x11, 0));                  // P1 3300
  Definition(4, K10Def(0x0B, 0));                  // P2 2700
  driver.msrs[0xC0010063] = 0;                     // software P0 ...
  driver.msrs[0xC0010071] = K10Def(0x17, 0) | CurPstate(1);  // ... boosted to Pb1 by the hardware
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.clockRegister1Low, K10Def(0x14, 0));
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 18.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 19.5);
  EXPECT_EQ(Text(0x1025), "200.00");
  EXPECT_EQ(Text(0x1024), "3600.00");
  // The counter keeps the rated clock while the core boosts.
  EXPECT_EQ(Text(0x1021), "200.00");
  EXPECT_EQ(Text(0x1028), "0.00");
}

TEST_F(AmdPStateClocksTest, UnreadableBoostControlLeavesTheRatedClockUnknown) {
  Processor(0x15, 0x01, true, 3600.0);
  f.brandString = "AMD FX(tm)-8150 Eight-Core Processor";
  Definition(0, K10Def(0x1A, 0));
  Definition(2, K10Def(0x14, 0));
  driver.msrs[0xC0010071] = K10Def(0x14, 0) | CurPstate(2);
  ReadClockRegisters(driver, f);  // no function 4 at all
  EXPECT_EQ(f.clockRegister1Low, 0u);
  EXPECT_EQ(f.originalMultiplier, -1.0);
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.ratedClock, -1.0);  // not P0's boosted 4200
}

TEST_F(AmdPStateClocksTest, ThubanPhenomIIX6_1090TWithOneBoostedState) {
  Processor(0x10, 0x0A, true, 3200.0);
  SetConfigDword(driver, kF4, 0x15C, 0x0000000F);  // one boosted state; bit 3 is no count here
  Definition(0, K10Def(0x14, 0));                  // Pb0 3600
  Definition(1, K10Def(0x10, 0));                  // P0 3200: 16 x 200
  Definition(2, K10Def(0x09, 0));                  // P1 2500
  Definition(3, K10Def(0x05, 0));                  // P2 2100
  Definition(4, K10Def(0x00, 1));                  // P3 800
  driver.msrs[0xC0010071] = K10Def(0x00, 1) | CurPstate(4);  // idle at 800
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 16.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 4.0);
  EXPECT_EQ(Text(0x1024), "3200.00");
  EXPECT_EQ(Text(0x1021), "200.00");
}

TEST_F(AmdPStateClocksTest, JaguarAgainstTheHundredMegahertzReference) {
  Processor(0x16, 0x00, false, 2000.0);  // A6-5200, no boost
  Definition(0, K10Def(0x18, 1));        // 4000 / 2 = 2000: 20 x 100
  driver.msrs[0xC0010071] = K10Def(0x04, 1) | CurPstate(3);  // 1000
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 20.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 10.0);
  EXPECT_EQ(Text(0x1025), "100.00");
  EXPECT_EQ(Text(0x1024), "2000.00");

  Processor(0x16, 0x30, true, 1800.0);  // A6-6310: 1800, boost 2400
  driver.msrs.clear();
  SetConfigDword(driver, kF4, 0x15C, 0x00000005);
  Definition(0, K10Def(0x08, 0));  // Pb0 2400
  Definition(1, K10Def(0x02, 0));  // P0 1800
  driver.msrs[0xC0010071] = K10Def(0x08, 0) | CurPstate(0);
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 18.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 24.0);
  EXPECT_EQ(Text(0x1024), "1800.00");
}

// Whole identifications over recorded processors, the fake driver standing in for the msr
// device and the northbridge functions.
const std::filesystem::path kDumps = std::filesystem::path(VELORA_TESTDATA) / "cpuid" / "amd";

struct Replayed {
  TestProbeEnvironment t;
  std::unique_ptr<CpuProbe> probe;
  std::string Text(uint32_t id) {
    std::string text;
    probe->GetString(id, text);
    return text;
  }
};

std::unique_ptr<Replayed> Prepare(const std::string& dump, double tscMhz) {
  auto r = std::make_unique<Replayed>();
  EXPECT_GT(r->t.cpuid.LoadDump((kDumps / dump).string()), 0) << dump;
  r->t.system.processors = r->t.cpuid.logicalProcessors;
  r->t.clock.tscMhz = tscMhz;
  return r;
}

TEST(AmdPStateIdentify, RecordedFx8150TakesTheBoostFlagFromCpuid) {
  auto r = Prepare("bulldozer/amd-fx-8150-eight-core-processor.txt", 3600.0);
  SetConfigDword(r->t.driver, kF4, 0x15C, 0x80000009);
  r->t.driver.msrs[0xC0010064] = kEnabled | K10Def(0x1A, 0);
  r->t.driver.msrs[0xC0010066] = kEnabled | K10Def(0x14, 0);
  r->t.driver.msrs[0xC0010071] = K10Def(0x0B, 0) | CurPstate(4);  // 2700
  r->probe = std::make_unique<CpuProbe>(r->t.env, 1, 0);
  const CpuFields& f = r->probe->Fields();
  EXPECT_EQ(f.corePerformanceBoost, 1);
  EXPECT_EQ(f.multiplierMethod, kMethodAmdPStateRegisters);
  EXPECT_EQ(r->Text(0x1029), "18.00");
  EXPECT_EQ(r->Text(0x1023), "13.50");
  EXPECT_EQ(r->Text(0x1025), "200.00");
  EXPECT_EQ(r->Text(0x1024), "3600.00");
  EXPECT_NEAR(f.overclockPercent, 0.0, 0.1);
}

TEST(AmdPStateIdentify, RecordedPhenomIIX6_1055T) {
  // 2800 MHz rated, 3300 MHz boosted.
  auto r = Prepare("k10/amd-phenom-ii-x6-1055t-processor.txt", 2800.0);
  SetConfigDword(r->t.driver, kF4, 0x15C, 0x00000007);
  r->t.driver.msrs[0xC0010064] = kEnabled | K10Def(0x11, 0);
  r->t.driver.msrs[0xC0010065] = kEnabled | K10Def(0x0C, 0);
  r->t.driver.msrs[0xC0010071] = K10Def(0x0C, 0) | CurPstate(1);
  r->probe = std::make_unique<CpuProbe>(r->t.env, 1, 0);
  EXPECT_EQ(r->Text(0x1029), "14.00");
  EXPECT_EQ(r->Text(0x1024), "2800.00");
}

TEST(AmdPStateIdentify, RecordedE350AndA8_3850) {
  auto e350 = Prepare("bobcat/amd-e-350-processor.txt", 1600.0);
  SetConfigDword(e350->t.driver, kF3, 0xD4, 0x00000F50);
  e350->t.driver.msrs[0xC0010064] = kEnabled | BobcatDef(1, 0);
  e350->t.driver.msrs[0xC0010071] = BobcatDef(1, 0);
  e350->probe = std::make_unique<CpuProbe>(e350->t.env, 1, 0);
  EXPECT_EQ(e350->probe->Fields().corePerformanceBoost, 0);
  EXPECT_EQ(e350->Text(0x1029), "16.00");
  EXPECT_EQ(e350->Text(0x1025), "100.00");
  EXPECT_EQ(e350->Text(0x1024), "1600.00");

  auto llano = Prepare("k10/amd-a8-3850-apu-with-radeon-hd-graphics.txt", 2900.0);
  SetConfigDword(llano->t.driver, kF4, 0x15C, 0x00000000);
  llano->t.driver.msrs[0xC0010064] = kEnabled | LlanoDef(0x0D, 0);
  llano->t.driver.msrs[0xC0010071] = LlanoDef(0x0D, 0);
  llano->probe = std::make_unique<CpuProbe>(llano->t.env, 1, 0);
  EXPECT_EQ(llano->Text(0x1029), "29.00");
  EXPECT_EQ(llano->Text(0x1024), "2900.00");
}

TEST(AmdPStateIdentify, RecordedFx8150WithoutMsrAccessKeepsEverythingUnknown) {
  auto r = Prepare("bulldozer/amd-fx-8150-eight-core-processor.txt", 3600.0);
  r->probe = std::make_unique<CpuProbe>(r->t.env, 1, 0);  // no MSRs, no northbridge
  const CpuFields& f = r->probe->Fields();
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.originalMultiplier, -1.0);
  EXPECT_EQ(f.nominalBusClock, -1.0);
  EXPECT_EQ(f.ratedClock, -1.0);
  EXPECT_EQ(f.overclockPercent, -100.0);
  EXPECT_NEAR(f.coreClock, 3600.0, 1.0);  // the measured clock is the counter's
}

}  // namespace
}  // namespace velora
