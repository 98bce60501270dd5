#include "probe/clock/cpu_clock_derive.h"

#include "probe/clock/cpu_clock_ratios.h"
#include "probe/clock/cpu_clock_today.h"

namespace velora {

namespace {

// Bus clock times the data-rate factor; an unknown bus stays unknown (a negative figure
// times factor 0 would print as "-0.00", which the pages would show).
double Effective(double bus, int32_t factor) { return bus < 0.0 ? -1.0 : bus * factor; }

}  // namespace

void DeriveClocks(CpuFields& f, DriverLink& driver) {
  MultiplierResult r{f.multiplier, f.originalMultiplier, f.nominalBusIndex};
  const int32_t method = f.multiplierMethod;
  if (IsMethodOfToday(method)) {
    DeriveMultipliersOfToday(f, r);
  } else if (method >= 1 && method <= 8) {
    DeriveIntelMultipliers(f, driver, r);
  } else if (method >= 10 && method <= 14) {
    DeriveAmdMultipliers(f, r);
  } else if ((method >= 20 && method <= 24) ||
             (method == 0 && (f.vendorCode == kVendorCyrix || f.vendorCode == kVendorIdt))) {
    DeriveCyrixIdtMultipliers(f, r);
  }
  f.nominalBusIndex = r.busIndex;

  if (r.current < 0.0) r.current = r.original;
  if (r.original < 0.5) {
    f.multiplier = -1.0;
    f.originalMultiplier = -1.0;
    return;
  }
  f.multiplier = r.current;
  f.originalMultiplier = r.original;
  // A register may hold a current ratio of 0 beside a valid original one: no bus from that.
  f.busClock = r.current > 0.0 ? f.coreClock / r.current : -1.0;
  if (IsMethodOfToday(method)) f.busClock = MeasuredBusClockOfToday(f);
  f.effectiveBusClock = Effective(f.busClock, f.busRateFactor);
  f.nominalBusClock = NominalBusMhz(r.busIndex);
  f.nominalEffectiveBusClock = f.nominalBusClock * f.busRateFactor;
  f.ratedClock = f.nominalBusClock * r.original;
  if (f.vendorCode == kVendorTransmeta) f.ratedClock = f.transmetaNominalClock;
}

}  // namespace velora
