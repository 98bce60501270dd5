// Multipliers and bus clocks from register values worked out by hand for each method.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/fake/fake_driver_link.h"
#include "probe/cpu/cpu_answers.h"
#include "probe/clock/cpu_clock_derive.h"
#include "probe/clock/cpu_clock_registers.h"
#include "probe/clock/cpu_clock_today.h"

namespace velora {
namespace {

class DeriveClocksTest : public ::testing::Test {
 protected:
  void Processor(int32_t vendor, int32_t family, int32_t model, int32_t stepping, int32_t method) {
    f.vendorCode = vendor;
    f.family = family;
    f.model = model;
    f.stepping = stepping;
    f.multiplierMethod = method;
    f.busRateFactor = 1;
    f.extendedFamily = 0;
    f.extendedModel = 0;
  }
  void Derive(uint32_t first, uint32_t second = 0) {
    f.clockRegister1Low = first;
    f.clockRegister2Low = second;
    DeriveClocks(f, driver);
  }
  std::string Text(uint32_t id) {
    std::string text;
    CpuTextAnswer(f, id, text);
    return text;
  }

  CpuFields f;
  FakeDriverLink driver;
};

// Bits 22 to 25 (ratio code), 18 to 19 (bus), 27 (high ratio bit) of 0x2A.
constexpr uint32_t Strap(uint32_t code, uint32_t bus, bool bit27 = false) {
  return code << 22 | bus << 18 | (bit27 ? 1u << 27 : 0);
}

TEST_F(DeriveClocksTest, Method1PentiumIIOn66MHz) {
  Processor(kVendorIntel, 6, 5, 2, 1);
  f.coreClock = 300.0;
  Derive(Strap(6, 0));  // RatioP6A[6] = 9: 4.5
  EXPECT_DOUBLE_EQ(f.multiplier, 4.5);
  EXPECT_EQ(Text(0x1025), "66.67");
  EXPECT_EQ(Text(0x1024), "300.00");
  EXPECT_EQ(Text(0x1021), "66.67");
}

TEST_F(DeriveClocksTest, Method1PentiumProHasNoBusIndex) {
  Processor(kVendorIntel, 6, 1, 9, 1);
  Derive(Strap(2, 1));  // RatioP6A[2] = 8: 4.0
  EXPECT_DOUBLE_EQ(f.multiplier, 4.0);
  EXPECT_EQ(f.nominalBusIndex, 7);
  EXPECT_EQ(f.nominalBusClock, 0.0);
  EXPECT_EQ(f.ratedClock, 0.0);
}

TEST_F(DeriveClocksTest, Method3HighRatioBitOnlyForLaterCoppermines) {
  Processor(kVendorIntel, 6, 8, 3, 3);
  Derive(Strap(1, 1, true));  // index 17: RatioP6B[17] = 22 -> 11.0 on 133 MHz
  EXPECT_DOUBLE_EQ(f.multiplier, 11.0);
  EXPECT_EQ(Text(0x1024), "1466.67");
  Processor(kVendorIntel, 6, 8, 1, 3);
  Derive(Strap(1, 1, true));  // stepping 1: index 1, RatioP6B[1] = 6 -> 3.0
  EXPECT_DOUBLE_EQ(f.multiplier, 3.0);
}

TEST_F(DeriveClocksTest, Method4TualatinTakesTheOriginalFromTheBrand) {
  Processor(kVendorIntel, 6, 11, 1, 4);
  f.brandString = "Intel(R) Pentium(R) III CPU 1400MHz";
  Derive(Strap(15, 1, true));  // index 31: RatioP6C[31] = 21 -> 10.5
  EXPECT_DOUBLE_EQ(f.multiplier, 10.5);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 10.5);  // "1400" on the 133 MHz bus
  EXPECT_EQ(Text(0x1024), "1400.00");
}

TEST_F(DeriveClocksTest, Method5Willamette) {
  Processor(kVendorIntel, 15, 1, 2, 5);
  Derive(2u << 8);  // RatioP4A[2] = 36 -> 18
  EXPECT_DOUBLE_EQ(f.multiplier, 18.0);
  EXPECT_EQ(Text(0x1024), "1800.00");
}

TEST_F(DeriveClocksTest, Method6BusCodeZeroDependsOnTheModel) {
  const uint32_t second = 15u << 24 | 0u << 16 | 15u;
  Processor(kVendorIntel, 15, 2, 9, 6);
  Derive(1, second);
  EXPECT_EQ(Text(0x1025), "100.00");
  EXPECT_EQ(Text(0x1024), "1500.00");
  Processor(kVendorIntel, 15, 3, 4, 6);
  Derive(1, second);
  EXPECT_EQ(Text(0x1025), "266.67");
  Processor(kVendorIntel, 15, 2, 9, 6);
  Derive(1, 14u << 24 | 1u << 16 | 14u);  // code 1: 133 MHz
  EXPECT_EQ(Text(0x1024), "1866.67");
}

TEST_F(DeriveClocksTest, ACurrentRatioOfZeroGivesNoBusClockRatherThanInfinity) {
  Processor(kVendorIntel, 15, 2, 9, 6);
  f.coreClock = 2000.0;
  Derive(1, 2u << 16 | 10u);  // original 10 on 200 MHz, current 0
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 10.0);
  EXPECT_EQ(Text(0x1023), "0.00");
  EXPECT_EQ(Text(0x1021), "-1.00");
  EXPECT_EQ(Text(0x1024), "2000.00");
}

TEST_F(DeriveClocksTest, Methods7And8PentiumMBusFromTheBrand) {
  Processor(kVendorIntel, 6, 9, 5, 7);
  f.brandString = "Intel(R) Pentium(R) M processor 1600MHz";
  driver.msrs[0x198] = uint64_t{16} << 40;  // high half bits 8 to 15
  Derive(16u << 22);
  EXPECT_DOUBLE_EQ(f.multiplier, 16.0);
  EXPECT_EQ(f.nominalBusIndex, 2);  // 1600 / 16 = 100
  EXPECT_EQ(Text(0x1024), "1600.00");

  Processor(kVendorIntel, 6, 13, 8, 8);
  f.brandString = "Intel(R) Pentium(R) M processor 2.00GHz";
  driver.msrs[0x198] = uint64_t{15} << 40;
  Derive(12u << 22);
  EXPECT_DOUBLE_EQ(f.multiplier, 12.0);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 15.0);
  EXPECT_EQ(f.nominalBusIndex, 1);  // 2000 / 15 = 133.3
  EXPECT_EQ(Text(0x1024), "2000.00");
}

TEST_F(DeriveClocksTest, UnknownBrandGivesThe100MHzBusForMethod7) {
  Processor(kVendorIntel, 6, 9, 5, 7);
  f.brandString = "Genuine Intel(R) processor";
  driver.msrs[0x198] = uint64_t{13} << 40;
  Derive(13u << 22);
  EXPECT_EQ(f.nominalBusIndex, 2);
}

TEST_F(DeriveClocksTest, AnOriginalMultiplierBelowHalfSetsBothToUnknown) {
  Processor(kVendorIntel, 6, 9, 5, 7);
  f.ratedClock = 1500.0;  // from an earlier read
  Derive(16u << 22);      // 0x198 cannot be read: original 0
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.originalMultiplier, -1.0);
  EXPECT_EQ(f.ratedClock, 1500.0);
  EXPECT_EQ(f.busClock, -1.0);
}

TEST_F(DeriveClocksTest, Method10K6AndTheZeroEntryOfK6B) {
  Processor(kVendorAmd, 5, 8, 12, 10);
  Derive(1);  // RatioK6A[1] = 10 -> 5.0, no bus index
  EXPECT_DOUBLE_EQ(f.multiplier, 5.0);
  EXPECT_EQ(f.nominalBusIndex, 7);
  Processor(kVendorAmd, 5, 13, 4, 10);
  Derive(2);  // RatioK6B[2] = 8 -> 4.0 on 100 MHz, code kept
  EXPECT_DOUBLE_EQ(f.multiplier, 4.0);
  EXPECT_EQ(f.currentFrequencyCode, 2);
  EXPECT_EQ(Text(0x1024), "400.00");
  Processor(kVendorAmd, 5, 13, 4, 10);
  f.multiplier = f.originalMultiplier = -1.0;
  Derive(12);  // RatioK6B[12] = 0
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.originalMultiplier, -1.0);
}

// Bits 24 to 27 and 19 of 0xC0010015.
constexpr uint32_t K7Strap(uint32_t index) { return (index & 15) << 24 | (index >= 16 ? 1u << 19 : 0); }

TEST_F(DeriveClocksTest, RuleK7Barton) {
  Processor(kVendorAmd, 6, 10, 0, 11);
  f.l2 = 512;
  f.coreClock = 2200.0;
  Derive(K7Strap(20));  // RatioK7A[20] = 26 -> 13.0; 2200 / 13 = 169.2, below 190: 166 MHz
  EXPECT_DOUBLE_EQ(f.multiplier, 13.0);
  EXPECT_EQ(f.nominalBusIndex, 3);
  f.coreClock = 2200.0;
  Derive(K7Strap(7));  // RatioK7A[7] = 13 -> 6.5; 2200 / 6.5 = 338, 190 or more: 200 MHz
  EXPECT_EQ(f.nominalBusIndex, 4);
  f.l2 = 256;
  Derive(K7Strap(7));
  EXPECT_EQ(f.nominalBusIndex, 1);
  f.sempron = 1;
  Derive(K7Strap(7));
  EXPECT_EQ(f.nominalBusIndex, 3);
}

TEST_F(DeriveClocksTest, RuleK7Thoroughbred) {
  Processor(kVendorAmd, 6, 8, 1, 11);
  f.l2 = 256;
  f.coreClock = 2083.0;
  Derive(K7Strap(3));  // RatioK7A[3] = 25 -> 12.5; 2083 / 12.5 = 166.6
  EXPECT_EQ(f.nominalBusIndex, 3);
  f.coreClock = 1666.0;  // 133.3: below 158.327
  Derive(K7Strap(3));
  EXPECT_EQ(f.nominalBusIndex, 1);
  f.stepping = 0;
  f.coreClock = 2083.0;
  Derive(K7Strap(3));
  EXPECT_EQ(f.nominalBusIndex, 1);
  f.stepping = 1;
  f.l2 = 64;
  Derive(K7Strap(3));
  EXPECT_EQ(f.nominalBusIndex, 1);
}

TEST_F(DeriveClocksTest, RuleK7PalominoAndOthers) {
  Processor(kVendorAmd, 6, 6, 2, 11);
  Derive(K7Strap(8));
  EXPECT_EQ(f.nominalBusIndex, 1);
  Processor(kVendorAmd, 6, 3, 1, 11);
  Derive(K7Strap(8));
  EXPECT_EQ(f.nominalBusIndex, 2);
}

TEST_F(DeriveClocksTest, RuleK7Thunderbird) {
  Processor(kVendorAmd, 6, 4, 2, 11);
  Derive(K7Strap(4));  // RatioK7A[4] = 10, forced to 14
  EXPECT_DOUBLE_EQ(f.multiplier, 14.0);
  EXPECT_EQ(f.nominalBusIndex, 2);  // 140 >= 110
  Derive(K7Strap(3));               // forced to 13
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 13.0);
  Derive(K7Strap(15));  // RatioK7A[15] = 21 -> 10.5: 105 gives 133
  EXPECT_EQ(f.nominalBusIndex, 1);
  Derive(K7Strap(10));  // 16 -> 8.0: 80 gives 100
  EXPECT_EQ(f.nominalBusIndex, 2);
  f.coreClock = 1000.0;
  Derive(K7Strap(9));  // 15 -> 7.5: 1000 / 7.5 = 133.3 gives 133
  EXPECT_EQ(f.nominalBusIndex, 1);
  EXPECT_EQ(Text(0x1024), "1000.00");
  f.coreClock = 750.0;
  Derive(K7Strap(9));  // 100
  EXPECT_EQ(f.nominalBusIndex, 2);
}

TEST_F(DeriveClocksTest, RuleK7FidMobileAthlon) {
  // second: current bits 0-4, start bits 8-12, maximum bits 16-20 (RatioK7B indices).
  Processor(kVendorAmd, 6, 8, 1, 12);
  Derive(1, 2u << 16 | 4u << 8 | 6u);  // start RatioK7B[4] = 10 -> 100 MHz
  EXPECT_DOUBLE_EQ(f.multiplier, 6.0);           // RatioK7B[6] = 12
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 12.0);  // RatioK7B[2] = 24
  EXPECT_EQ(f.nominalBusIndex, 2);
  Derive(1, 2u << 16 | 6u << 8 | 6u);  // start 12 -> 133
  EXPECT_EQ(f.nominalBusIndex, 1);
  Derive(1, 2u << 16 | 8u << 8 | 6u);  // start 14, model 8, maximum 24, voltage code 0
  EXPECT_EQ(f.nominalBusIndex, 1);
  f.maximumVoltageCode = 12;
  Derive(1, 2u << 16 | 8u << 8 | 6u);
  EXPECT_EQ(f.nominalBusIndex, 2);
  Processor(kVendorAmd, 6, 7, 1, 12);
  Derive(1, 2u << 16 | 6u << 8 | 6u);  // models 7 and below: 100
  EXPECT_EQ(f.nominalBusIndex, 2);
}

TEST_F(DeriveClocksTest, Method13K8FromTheStrap) {
  Processor(kVendorAmd, 15, 4, 8, 13);
  f.busRateFactor = 0;
  Derive(0x0Eu << 24);  // 14 x 0.5 + 4 = 11
  EXPECT_DOUBLE_EQ(f.multiplier, 11.0);
  EXPECT_EQ(f.currentFrequencyCode, 0x0E);
  EXPECT_EQ(f.maximumFrequencyCode, 0x0E);
  EXPECT_EQ(Text(0x1024), "2200.00");
  EXPECT_EQ(Text(0x1022), "-1.00");  // no measured clock; never "-0.00"
}

TEST_F(DeriveClocksTest, Method14MaximumCode0x2ATakesTheStartCode) {
  Processor(kVendorAmd, 15, 4, 8, 14);
  Derive(0x10u << 24, 0x2Au << 16 | 0x0Eu << 8 | 0x0Au);
  EXPECT_DOUBLE_EQ(f.multiplier, 9.0);            // 10 x 0.5 + 4
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 11.0);   // the start code 14
  EXPECT_EQ(f.currentFrequencyCode, 0x0A);
  EXPECT_EQ(f.maximumFrequencyCode, 0x10);
  Derive(0x10u << 24, 0x10u << 16 | 0x0Eu << 8 | 0x0Au);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 12.0);
}

TEST_F(DeriveClocksTest, CyrixAndIdt) {
  Processor(kVendorIdt, 6, 7, 8, 22);
  Derive(Strap(3, 1));  // RatioCX[3] = 20 -> 10.0 on 133
  EXPECT_DOUBLE_EQ(f.multiplier, 10.0);
  EXPECT_EQ(Text(0x1024), "1333.33");
  Processor(kVendorIdt, 6, 9, 8, 24);
  Derive(Strap(3, 1, true));  // RatioCX[19] = 20
  EXPECT_DOUBLE_EQ(f.multiplier, 10.0);

  Processor(kVendorIdt, 5, 8, 7, 0);  // WinChip 2A: (5 + 2) / (1 + 2)
  Derive(1, 5u << 23);
  EXPECT_NEAR(f.multiplier, 7.0 / 3.0, 1e-12);
  EXPECT_EQ(f.nominalBusIndex, 7);
  Processor(kVendorIdt, 5, 8, 1, 0);  // WinChip 2: 2 + 2
  Derive(2);
  EXPECT_DOUBLE_EQ(f.multiplier, 4.0);
}

TEST_F(DeriveClocksTest, ModernIntelRatioRegisters) {
  Processor(kVendorIntel, 6, 14, 10, 30);
  f.extendedModel = 9;  // 0x9E
  f.coreClock = 3600.0;
  driver.msrs[0xCE] = 36u << 8;
  driver.msrs[0x198] = 45u << 8;
  f.msrPresent = 1;
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 36.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 45.0);
  EXPECT_EQ(Text(0x1024), "3600.00");
  // The counter runs at the base clock: bus = 3600 / 36, not / 45.
  EXPECT_EQ(Text(0x1021), "100.00");
  EXPECT_EQ(Text(0x1028), "0.00");

  Processor(kVendorIntel, 6, 10, 5, 30);
  f.extendedModel = 1;  // 0x1A, Nehalem: 133 MHz base clock
  driver.msrs[0xCE] = 20u << 8;
  ReadClockRegisters(driver, f);
  EXPECT_EQ(Text(0x1024), "2666.67");
}

TEST_F(DeriveClocksTest, ZenPStates) {
  Processor(kVendorAmd, 15, 1, 1, 31);
  f.extendedFamily = 8;  // family 0x17
  f.coreClock = 3600.0;
  const uint64_t enabled = uint64_t{1} << 63;
  driver.msrs[0xC0010064] = enabled | 8u << 8 | 0x90;  // 200 x 144 / 8 = 3600
  driver.msrs[0xC0010066] = enabled | 8u << 8 | 0x60;  // P2: 2400
  driver.msrs[0xC0010063] = 2;
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 36.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 24.0);
  EXPECT_EQ(Text(0x1025), "100.00");
  EXPECT_EQ(Text(0x1024), "3600.00");
  EXPECT_EQ(f.clockRegister2Low, (8u << 8 | 0x60));
}

TEST_F(DeriveClocksTest, Zen5AndK10PStateLayouts) {
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x1A, 820), 4100.0);
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x19, 10u << 8 | 0xAF), 3500.0);
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x10, 14), 3000.0);           // (14 + 16) x 100
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x15, 1u << 6 | 16), 1600.0);  // (16 + 16) x 100 / 2
  EXPECT_DOUBLE_EQ(AmdPStateMhz(0x11, 12), 2000.0);           // (12 + 8) x 100
  EXPECT_EQ(AmdPStateMhz(0x17, 0x90), -1.0);                  // divisor 0
  EXPECT_EQ(AmdPStateMhz(0x14, 0x90), -1.0);

  Processor(kVendorAmd, 15, 4, 2, 31);
  f.extendedFamily = 1;  // family 0x10, Phenom II X4 940
  const uint64_t enabled = uint64_t{1} << 63;
  driver.msrs[0xC0010064] = enabled | 14;  // 3000 MHz: 15 x 200
  driver.msrs[0xC0010071] = 6;             // now 2200 MHz: 11 x 200
  ReadClockRegisters(driver, f);
  EXPECT_DOUBLE_EQ(f.originalMultiplier, 15.0);
  EXPECT_DOUBLE_EQ(f.multiplier, 11.0);
  EXPECT_EQ(Text(0x1024), "3000.00");
}

TEST_F(DeriveClocksTest, ADisabledPStateGivesNoOriginalMultiplier) {
  Processor(kVendorAmd, 15, 1, 1, 31);
  f.extendedFamily = 8;
  driver.msrs[0xC0010064] = 8u << 8 | 0x90;  // enable bit clear
  driver.msrs[0xC0010063] = 0;
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.originalMultiplier, -1.0);
  EXPECT_EQ(f.ratedClock, -1.0);
}

TEST_F(DeriveClocksTest, AVirtualMachineRefusingEveryReadKeepsEverythingUnknown) {
  Processor(kVendorIntel, 6, 14, 10, 30);
  f.extendedModel = 9;
  f.msrPresent = 1;
  f.coreClock = 3192.0;
  f.brandString = "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz";
  driver.status = kDriverStartFailed;  // every read fails
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.clockRegister1Low, 0u);
  EXPECT_EQ(f.platformId, -1);
  EXPECT_EQ(f.microcodeSignature, -1);
  EXPECT_EQ(f.multiplier, -1.0);
  EXPECT_EQ(f.nominalBusClock, -1.0);
  EXPECT_EQ(Text(0x1024), "3200.00");  // from the brand string
  EXPECT_EQ(Text(0x1028), "-0.25");
}

TEST_F(DeriveClocksTest, ClassicRegistersAndIdentificationRegisters) {
  Processor(kVendorIntel, 6, 8, 3, 3);
  driver.msrs[0x2A] = Strap(1, 1, true);
  driver.msrs[0x17] = uint64_t{5} << (32 + 18);
  driver.msrs[0x8B] = uint64_t{0x10} << 32;
  f.l2 = 256;
  f.coreClock = 1466.0;
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.platformId, 5);
  EXPECT_EQ(f.microcodeSignature, 0x10);
  EXPECT_EQ(f.clockRegister1Low, Strap(1, 1, true));
  EXPECT_EQ(f.clockRegister2Low, 0u);  // model 8 reads no second register
  EXPECT_EQ(f.l2SpeedRatioText, "Full");
  EXPECT_NEAR(f.overclockPercent, 1466.0 / 1466.6666 * 100 - 100, 1e-3);
}

TEST_F(DeriveClocksTest, TransmetaRatedClockIsItsNominalClock) {
  Processor(kVendorTransmeta, 5, 4, 3, 0);
  f.transmetaNominalClock = 933;
  f.coreClock = 933.0;
  ReadClockRegisters(driver, f);
  EXPECT_EQ(f.ratedClock, 933.0);
  EXPECT_EQ(Text(0x1028), "0.00");
}

TEST(CpuTextAnswerClocks, NotANumberAndInfinityReadAsUnknown) {
  CpuFields f;
  f.coreClock = std::nan("");
  f.busClock = INFINITY;
  f.effectiveBusClock = -0.0;
  f.overclockPercent = -1e-12;
  std::string text;
  CpuTextAnswer(f, 0x1020, text);
  EXPECT_EQ(text, "-1.00");
  CpuTextAnswer(f, 0x1021, text);
  EXPECT_EQ(text, "-1.00");
  CpuTextAnswer(f, 0x1022, text);
  EXPECT_EQ(text, "0.00");
  CpuTextAnswer(f, 0x1028, text);
  EXPECT_EQ(text, "0.00");
}

}  // namespace
}  // namespace velora
