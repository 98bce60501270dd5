#include "probe/clock/cpu_clock_today.h"

#include <cctype>
#include <cmath>

#include "probe/clock/cpu_clock_bits.h"
#include "probe/clock/cpu_clock_ratios.h"
#include "probe/cpu/cpu_era.h"
#include "probe/clock/multiplier_method.h"

namespace velora {

namespace {

constexpr uint32_t kIntelPlatformInfo = 0xCE;
constexpr uint32_t kIntelPerfStatus = 0x198;
constexpr uint32_t kAmdPStateStatus = 0xC0010063;
constexpr uint32_t kAmdPStateDefinition0 = 0xC0010064;
constexpr uint32_t kAmdCofVidStatus = 0xC0010071;

int32_t DisplayFamily(const CpuFields& f) {
  return f.family == 15 ? f.family + f.extendedFamily : f.family;
}

int32_t DisplayModel(const CpuFields& f) { return f.extendedModel * 16 + f.model; }

// Nehalem and Westmere run their ratios against a 133 MHz base clock; from Sandy Bridge on it
// is 100 MHz.
bool HasBaseClock133(const CpuFields& f) {
  switch (DisplayModel(f)) {
    case 0x1A: case 0x1E: case 0x1F: case 0x2E:  // Nehalem
    case 0x25: case 0x2C: case 0x2F:             // Westmere
      return true;
    default:
      return false;
  }
}

void Read(DriverLink& driver, uint32_t index, uint32_t& low, uint32_t& high) {
  if (!driver.ReadMsr(index, low, high)) low = high = 0;
}

}  // namespace

bool IsMethodOfToday(int32_t method) {
  return method == kMethodIntelRatioRegisters || method == kMethodAmdPStateRegisters;
}

void ReadClockRegistersOfToday(DriverLink& driver, CpuFields& f) {
  if (f.multiplierMethod == kMethodIntelRatioRegisters) {
    Read(driver, kIntelPlatformInfo, f.clockRegister1Low, f.clockRegister1High);
    Read(driver, kIntelPerfStatus, f.clockRegister2Low, f.clockRegister2High);
    return;
  }
  const int32_t family = DisplayFamily(f);
  if (family < 0x10) return;
  if (family >= 0x17) {
    Read(driver, kAmdPStateDefinition0, f.clockRegister1Low, f.clockRegister1High);
    uint32_t low = 0, high = 0;
    if (!driver.ReadMsr(kAmdPStateStatus, low, high)) {
      f.clockRegister2Low = f.clockRegister2High = 0;
      return;
    }
    Read(driver, kAmdPStateDefinition0 + Bits(low, 0, 2), f.clockRegister2Low,
         f.clockRegister2High);
    return;
  }
  // The definitions count in hardware numbering, boosted states first; the rated clock is
  // the first one after them. The COFVID status holds the FID and DID the core runs at now,
  // boosted or not, so it needs no numbering.
  const AmdNorthbridgeClocks nb =
      ReadAmdNorthbridgeClocks(driver, family, f.corePerformanceBoost != 0);
  if (nb.boostedStates < 0) {
    f.clockRegister1Low = f.clockRegister1High = 0;
  } else {
    Read(driver, kAmdPStateDefinition0 + static_cast<uint32_t>(nb.boostedStates),
         f.clockRegister1Low, f.clockRegister1High);
  }
  Read(driver, kAmdCofVidStatus, f.clockRegister2Low, f.clockRegister2High);
  f.amdLlanoFidOffset = nb.llanoFidOffset;
  f.amdMainPllMhz = nb.mainPllMhz;
}

void DeriveMultipliersOfToday(const CpuFields& f, MultiplierResult& r) {
  r.current = r.original = -1.0;
  if (f.multiplierMethod == kMethodIntelRatioRegisters) {
    r.busIndex = HasBaseClock133(f) ? kBusIndex133 : kBusIndex100;
    if (uint32_t base = Bits(f.clockRegister1Low, 8, 15)) r.original = base;
    if (uint32_t now = Bits(f.clockRegister2Low, 8, 15)) r.current = now;
    return;
  }
  const int32_t family = DisplayFamily(f);
  r.busIndex = AmdReferenceBusIndex(family, DisplayModel(f));
  const double bus = NominalBusMhz(r.busIndex);
  AmdNorthbridgeClocks nb;
  nb.llanoFidOffset = f.amdLlanoFidOffset;
  nb.mainPllMhz = f.amdMainPllMhz;
  // A P-state definition counts only while its enable bit (63) is set.
  if (BitSet(f.clockRegister1High, 31)) {
    double mhz = AmdPStateMhz(family, f.clockRegister1Low, nb);
    if (mhz > 0.0) r.original = mhz / bus;
  }
  const bool currentIsDefinition = family >= 0x17;
  if (f.clockRegister2Low != 0 && (!currentIsDefinition || BitSet(f.clockRegister2High, 31))) {
    double mhz = AmdPStateMhz(family, f.clockRegister2Low, nb);
    if (mhz > 0.0) r.current = mhz / bus;
  }
}

double MeasuredBusClockOfToday(const CpuFields& f) {
  return f.originalMultiplier > 0.0 ? f.coreClock / f.originalMultiplier : -1.0;
}

double BrandClockOfToday(std::string_view brand) {
  for (size_t at = 0; at + 3 <= brand.size(); ++at) {
    std::string_view unit = brand.substr(at, 3);
    double scale = unit == "GHz" ? 1000.0 : unit == "MHz" ? 1.0 : 0.0;
    if (scale == 0.0) continue;
    size_t end = at;
    while (end > 0 && brand[end - 1] == ' ') --end;
    size_t begin = end;
    while (begin > 0 && (std::isdigit(static_cast<unsigned char>(brand[begin - 1])) ||
                         brand[begin - 1] == '.')) {
      --begin;
    }
    std::string_view number = brand.substr(begin, end - begin);
    if (number.empty() || !std::isdigit(static_cast<unsigned char>(number.front()))) continue;
    double value = 0.0, fraction = 0.0;
    int decimals = 0;
    bool point = false;
    for (char c : number) {
      if (c == '.') {
        if (point) break;
        point = true;
      } else if (!point) {
        value = value * 10.0 + (c - '0');
      } else {
        fraction = fraction * 10.0 + (c - '0');
        ++decimals;
      }
    }
    const double mhz = (value + fraction / std::pow(10.0, decimals)) * scale;
    const int lastDigit = static_cast<int>(fraction) % 10;
    if (scale == 1000.0 && decimals == 2 && (lastDigit == 3 || lastDigit == 6 || lastDigit == 7)) {
      const double third = 100.0 / 3.0;
      return std::round(mhz / third) * third;
    }
    if (mhz > 0.0) return mhz;
  }
  return -1.0;
}

void ApplyRatedClockOfToday(CpuFields& f) {
  if (f.ratedClock > 0.0 || !IsProcessorOfToday(f)) return;
  f.ratedClock = BrandClockOfToday(f.brandString);
}

}  // namespace velora
