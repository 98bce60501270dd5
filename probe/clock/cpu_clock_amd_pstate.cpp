#include "probe/clock/cpu_clock_amd_pstate.h"

#include <array>

#include "probe/clock/cpu_clock_bits.h"
#include "probe/clock/cpu_clock_ratios.h"

namespace velora {

namespace {

constexpr PciAddress kNorthbridgeMisc = MakePciAddress(0, 0x18, 3);
constexpr PciAddress kNorthbridgeLink = MakePciAddress(0, 0x18, 4);
constexpr uint32_t kClockPowerTimingControl0 = 0xD4;  // D18F3xD4
constexpr uint32_t kBoostControl = 0x15C;             // D18F4x15C

// Llano's CpuDid codes 0 to 8; code 0xE divides by 16 too (or means 100 MHz with CpuFid 0),
// the others are reserved.
constexpr std::array<double, 9> kLlanoDivisors = {1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0, 16.0};
constexpr uint32_t kLlanoDivisorCode16 = 0xE;

// 100 MHz x (CpuFid + base) / 2^CpuDid, with CpuFid in bits 0 to 5 and CpuDid in bits 6 to 8.
double PowerOfTwoDivided(uint32_t low, uint32_t base, uint32_t highestDivisorCode) {
  const uint32_t divisorCode = Bits(low, 6, 8);
  if (divisorCode > highestDivisorCode) return -1.0;
  return 100.0 * (Bits(low, 0, 5) + base) / (1u << divisorCode);
}

// Llano: CpuFid in bits 4 to 8, CpuDid in bits 0 to 3.
double LlanoMhz(uint32_t low, int32_t fidOffset) {
  const uint32_t fid = Bits(low, 4, 8);
  const uint32_t divisorCode = Bits(low, 0, 3);
  double divisor = 0.0;
  if (divisorCode < kLlanoDivisors.size()) {
    divisor = kLlanoDivisors[divisorCode];
  } else if (divisorCode == kLlanoDivisorCode16) {
    if (fid == 0) return 100.0;
    divisor = 16.0;
  } else {
    return -1.0;
  }
  if (fidOffset < 0) return -1.0;
  return 100.0 * (fid + static_cast<uint32_t>(fidOffset)) / divisor;
}

// Bobcat divides the main PLL by CpuDidMSD + CpuDidLSD / 4 + 1; an LSD above 3 or an MSD
// above 0x19 is not a defined divisor.
double BobcatMhz(uint32_t low, double mainPllMhz) {
  const uint32_t lsd = Bits(low, 0, 3);
  const uint32_t msd = Bits(low, 4, 8);
  if (mainPllMhz <= 0.0 || lsd > 3 || msd > 0x19) return -1.0;
  return mainPllMhz * 4.0 / (msd * 4 + lsd + 4);
}

bool ReadPciDword(DriverLink& driver, PciAddress function, uint32_t offset, uint32_t& value) {
  uint8_t bytes[4] = {};
  if (driver.ReadPciConfig(function, offset, bytes, sizeof bytes) != 0) return false;
  value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
          static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

// Griffin (0x11) has no boost control register.
bool HasBoostControl(int32_t family) {
  return family == 0x10 || family == 0x12 || family == 0x14 || family == 0x15 || family == 0x16;
}

}  // namespace

AmdNorthbridgeClocks ReadAmdNorthbridgeClocks(DriverLink& driver, int32_t displayFamily,
                                              bool corePerformanceBoost) {
  AmdNorthbridgeClocks nb;
  const bool boosts = corePerformanceBoost && HasBoostControl(displayFamily);
  if (boosts || displayFamily == 0x12) {
    uint32_t control = 0;
    const bool read = ReadPciDword(driver, kNorthbridgeLink, kBoostControl, control);
    if (boosts) {
      // Family 0x10 has room for one boosted state (bit 2); the later ones count up to seven.
      const uint32_t count = displayFamily == 0x10 ? Bits(control, 2, 2) : Bits(control, 2, 4);
      nb.boostedStates = read ? static_cast<int32_t>(count) : -1;
    }
    if (displayFamily == 0x12) nb.llanoFidOffset = !read ? -1 : BitSet(control, 30) ? 0x20 : 0x10;
  }
  if (displayFamily == 0x14) {
    uint32_t control = 0;
    if (ReadPciDword(driver, kNorthbridgeMisc, kClockPowerTimingControl0, control)) {
      // With MainPllOpFreqIdEn (bit 6) clear the PLL runs at its default, FID 0: 1600 MHz.
      const uint32_t fid = BitSet(control, 6) ? Bits(control, 0, 5) : 0;
      nb.mainPllMhz = 100.0 * (fid + 0x10);
    }
  }
  return nb;
}

double AmdPStateMhz(int32_t displayFamily, uint32_t low, const AmdNorthbridgeClocks& nb) {
  if (displayFamily >= 0x1A) return Bits(low, 0, 11) * 5.0;
  if (displayFamily >= 0x17) {
    const uint32_t divisor = Bits(low, 8, 13);
    return divisor != 0 ? 200.0 * Bits(low, 0, 7) / divisor : -1.0;
  }
  switch (displayFamily) {
    case 0x10: case 0x15: case 0x16: return PowerOfTwoDivided(low, 0x10, 4);
    case 0x11: return PowerOfTwoDivided(low, 0x08, 3);
    case 0x12: return LlanoMhz(low, nb.llanoFidOffset);
    case 0x14: return BobcatMhz(low, nb.mainPllMhz);
    default: return -1.0;
  }
}

int32_t AmdReferenceBusIndex(int32_t displayFamily, int32_t displayModel) {
  // The HyperTransport parts (K10, Griffin, Bulldozer and Piledriver on AM3+, C32 and G34)
  // name their ratios against the 200 MHz reference; the APUs without HyperTransport
  // (Llano, Bobcat, Trinity and later family 0x15 models, Jaguar) and Zen against 100 MHz.
  if (displayFamily == 0x10 || displayFamily == 0x11) return kBusIndex200;
  if (displayFamily == 0x15 && displayModel < 0x10) return kBusIndex200;
  return kBusIndex100;
}

}  // namespace velora
