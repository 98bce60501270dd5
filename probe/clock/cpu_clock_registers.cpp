#include "probe/clock/cpu_clock_registers.h"

#include "probe/cache/cache_decode.h"
#include "probe/clock/cpu_clock_derive.h"
#include "probe/clock/cpu_clock_today.h"

namespace velora {

namespace {

constexpr uint32_t kIntelPlatformId = 0x17;
constexpr uint32_t kIntelMicrocodeSignature = 0x8B;
constexpr uint32_t kIntelPowerOnConfiguration = 0x2A;
constexpr uint32_t kIntelBusFrequency = 0x2C;
constexpr uint32_t kAmdHardwareConfiguration = 0xC0010015;
constexpr uint32_t kAmdFidVidStatus = 0xC0010042;
constexpr uint32_t kAmdK7ClockControl = 0xC0010011;
constexpr uint32_t kAmdK6PowerOnStatus = 0xC0000087;
constexpr uint32_t kIdtFeatureControl = 0x10A;
constexpr uint32_t kIdtClockRatio = 0x147;

// A register that cannot be read (no msr device, no privilege, a virtual machine that
// refuses it) counts as 0, so nothing is derived from it.
void ReadFirst(DriverLink& driver, uint32_t index, CpuFields& f) {
  if (!driver.ReadMsr(index, f.clockRegister1Low, f.clockRegister1High)) {
    f.clockRegister1Low = f.clockRegister1High = 0;
  }
}

void ReadSecond(DriverLink& driver, uint32_t index, CpuFields& f) {
  if (!driver.ReadMsr(index, f.clockRegister2Low, f.clockRegister2High)) {
    f.clockRegister2Low = f.clockRegister2High = 0;
  }
}

void ReadRegistersByProcessor(DriverLink& driver, CpuFields& f) {
  const bool intel = f.vendorCode == kVendorIntel;
  if (intel && f.family == 6) {
    ReadFirst(driver, kIntelPowerOnConfiguration, f);
    if (f.model == 9 || f.model >= 12) ReadSecond(driver, kIntelPlatformId, f);
    return;
  }
  if (f.multiplierMethod >= 20 && f.multiplierMethod <= 24) {
    ReadFirst(driver, kIntelPowerOnConfiguration, f);
    return;
  }
  if (intel && f.family == 15 && f.extendedFamily == 0) {
    ReadFirst(driver, kIntelPowerOnConfiguration, f);
    ReadSecond(driver, kIntelBusFrequency, f);
    return;
  }
  if (f.vendorCode == kVendorAmd) {
    if (f.family == 15) {
      ReadFirst(driver, kAmdHardwareConfiguration, f);
      if (f.powerControlCapable) ReadSecond(driver, kAmdFidVidStatus, f);
    } else if (f.family == 5 && f.model >= 8) {
      ReadFirst(driver, kAmdK6PowerOnStatus, f);
    } else if (f.family == 6) {
      ReadFirst(driver, kAmdHardwareConfiguration, f);
      if (f.model <= 2) {
        ReadSecond(driver, kAmdK7ClockControl, f);
      } else if (f.powerControlCapable) {
        ReadSecond(driver, kAmdFidVidStatus, f);
      }
    }
    return;
  }
  if (f.vendorCode == kVendorIdt && f.family == 5 && f.model >= 8) {
    ReadFirst(driver, kIdtFeatureControl, f);
    if ((f.model == 8 && f.stepping >= 7 && f.stepping <= 9) || f.model == 9) {
      ReadSecond(driver, kIdtClockRatio, f);
    }
  }
}

}  // namespace

void ReadClockRegisters(DriverLink& driver, CpuFields& f) {
  const bool intel = f.vendorCode == kVendorIntel;
  if (intel && (f.family == 15 || (f.family == 6 && f.model >= 7))) {
    // Identification only; a register the processor lacks leaves the values unknown.
    uint32_t low = 0, high = 0;
    if (driver.ReadMsr(kIntelPlatformId, low, high)) {
      f.platformId = static_cast<int32_t>((high >> 18) & 7);
    }
    if (driver.ReadMsr(kIntelMicrocodeSignature, low, high)) {
      f.microcodeSignature = static_cast<int32_t>(high);
    }
  }
  if (IsMethodOfToday(f.multiplierMethod)) {
    ReadClockRegistersOfToday(driver, f);
  } else {
    ReadRegistersByProcessor(driver, f);
  }

  DecodeL2SpeedRatio(f);
  if (f.clockRegister1Low != 0 || f.clockRegister2Low != 0) DeriveClocks(f, driver);
  if (f.vendorCode == kVendorTransmeta) f.ratedClock = f.transmetaNominalClock;
  ApplyRatedClockOfToday(f);
  ApplyOverclockPercent(f);
}

void ApplyOverclockPercent(CpuFields& f) {
  if (f.ratedClock <= 0.0) return;
  // A clock that was never measured (-1) or not measured this time (0) compares with nothing;
  // the percentage is then unknown rather than a figure a little below -100.
  f.overclockPercent = f.coreClock > 0.0 ? f.coreClock / f.ratedClock * 100.0 - 100.0 : -100.0;
}

}  // namespace velora
