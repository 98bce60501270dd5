#include "probe/power/power_refresh.h"

#include "probe/clock/cpu_clock_ratios.h"
#include "probe/clock/cpu_clock_registers.h"
#include "probe/cpu/cpu_format.h"
#include "probe/power/power_control_types.h"
#include "probe/power/power_voltage_tables.h"

namespace velora {

namespace {

constexpr uint32_t kMsrK7FidVidStatus = 0xC0010042;
constexpr uint32_t kMsrIntelPerfStatus = 0x198;

int32_t Bits(uint32_t value, int first, int count) {
  return static_cast<int32_t>((value >> first) & ((1u << count) - 1));
}

struct Codes {
  int32_t current, start, maximum;
};

void SetFrequencyCodes(CpuFields& f, Codes c) {
  f.currentFrequencyCode = c.current;
  f.startFrequencyCode = c.start;
  f.maximumFrequencyCode = c.maximum;
}

void SetVoltageCodes(CpuFields& f, Codes c) {
  f.currentVoltageCode = c.current;
  f.startVoltageCode = c.start;
  f.maximumVoltageCode = c.maximum;
}

template <typename ToText>
void SetMultiplierTexts(CpuFields& f, ToText text) {
  f.currentMultiplierText = text(f.currentFrequencyCode);
  f.startMultiplierText = text(f.startFrequencyCode);
  f.maximumMultiplierText = text(f.maximumFrequencyCode);
}

template <typename ToText>
void SetVoltageTexts(CpuFields& f, ToText text) {
  f.currentVoltageText = text(f.currentVoltageCode);
  f.startVoltageText = text(f.startVoltageCode);
  f.maximumVoltageText = text(f.maximumVoltageCode);
}

void RefreshK7(DriverLink& driver, CpuFields& f) {
  uint32_t low = 0, high = 0;
  driver.ReadMsr(kMsrK7FidVidStatus, low, high);
  SetFrequencyCodes(f, {Bits(low, 0, 5), Bits(low, 8, 5), Bits(low, 16, 5)});
  SetVoltageCodes(f, {Bits(high, 0, 5), Bits(high, 8, 5), Bits(high, 16, 5)});
  SetMultiplierTexts(f, [](int32_t code) { return FormatText("%.1f", kRatioK7B[code] * 0.5); });
  const auto& table = f.voltageTableA ? kK7VoltageTableA : kK7VoltageTableB;
  SetVoltageTexts(f, [&](int32_t code) { return FormatText("%.3f", table[code] * 0.001); });
}

void RefreshK8(DriverLink& driver, CpuFields& f) {
  uint32_t low = 0, high = 0;
  driver.ReadMsr(kMsrK7FidVidStatus, low, high);
  SetFrequencyCodes(f, {Bits(low, 0, 6), Bits(low, 8, 6), Bits(low, 16, 6)});
  SetVoltageCodes(f, {Bits(high, 0, 5), Bits(high, 8, 5), Bits(high, 16, 5)});
  SetMultiplierTexts(f, [](int32_t code) { return FormatText("%.1f", code * 0.5 + 4); });
  SetVoltageTexts(f, [](int32_t code) { return FormatText("%.3f", 1.55 - code * 0.025); });
}

// Pentium M and Pentium 4: current and maximum only; the start fields keep their values.
void RefreshIntel(DriverLink& driver, CpuFields& f, bool pentium4) {
  uint32_t low = 0, high = 0;
  driver.ReadMsr(kMsrIntelPerfStatus, low, high);
  f.currentVoltageCode = Bits(low, 0, 6);
  f.currentFrequencyCode = Bits(low, 8, 8);
  f.maximumVoltageCode = Bits(high, 0, 6);
  f.maximumFrequencyCode = Bits(high, 8, 8);
  f.currentMultiplierText = FormatText("%.1f", static_cast<double>(f.currentFrequencyCode));
  f.maximumMultiplierText = FormatText("%.1f", static_cast<double>(f.maximumFrequencyCode));
  auto volts = [pentium4](int32_t code) {
    return pentium4 ? FormatText("%.4f", kP4VoltageTable[code] * 0.0001)
                    : FormatText("%.3f", code * 0.016 + 0.7);
  };
  f.currentVoltageText = volts(f.currentVoltageCode);
  f.maximumVoltageText = volts(f.maximumVoltageCode);
}

}  // namespace

void RefreshPowerState(DriverLink& driver, CpuFields& f) {
  switch (f.powerControlType) {
    case kPowerViaBusControl:
    case kPowerViaPowerControl:
    case kPowerK6:
      if (!f.msrPresent) return;
      ReadClockRegisters(driver, f);
      f.currentMultiplierText = FormatText("%4.2f", f.multiplier);
      return;
    case kPowerK7: RefreshK7(driver, f); return;
    case kPowerK8: RefreshK8(driver, f); return;
    case kPowerPentiumM: RefreshIntel(driver, f, false); return;
    case kPowerPentium4: RefreshIntel(driver, f, true); return;
    default: return;
  }
}

}  // namespace velora
