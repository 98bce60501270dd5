// Intel rows of the multiplier decoding: the power-on configuration register 0x2A of the P6
// family and the Pentium 4, the bus frequency register 0x2C and the Pentium M's 0x198.

#include "probe/clock/cpu_clock_bits.h"
#include "probe/clock/cpu_clock_brand.h"
#include "probe/clock/cpu_clock_derive.h"
#include "probe/clock/cpu_clock_ratios.h"

namespace velora {

namespace {

constexpr uint32_t kPerfStatus = 0x198;

// Methods 7 and 8: the bus that the brand's clock and the original multiplier imply.
int32_t BusIndexFromRatedClock(double rated, double original) {
  if (original <= 0.0) return kBusIndex100;
  double ratio = rated / original;
  if (ratio > 166.0) return kBusIndex166;
  if (ratio > 133.0) return kBusIndex133;
  return kBusIndex100;
}

// Method 6: bits 16 to 18 of 0x2C.
int32_t Pentium4BusIndex(uint32_t code, int32_t model) {
  switch (code) {
    case 0: return model < 3 ? kBusIndex100 : kBusIndex266;
    case 1: return kBusIndex133;
    case 2: return kBusIndex200;
    case 3: return kBusIndex166;
    default: return kBusIndex266;
  }
}

}  // namespace

void DeriveIntelMultipliers(const CpuFields& f, DriverLink& driver, MultiplierResult& r) {
  const uint32_t first = f.clockRegister1Low;
  const uint32_t second = f.clockRegister2Low;
  const uint32_t ratioCode = Bits(first, 22, 25);
  const int32_t strapBus = static_cast<int32_t>(Bits(first, 18, 19));
  switch (f.multiplierMethod) {
    case 1:
      r.current = r.original = RatioOf(kRatioP6A[ratioCode]);
      r.busIndex = strapBus;
      if (f.model <= 2 || (f.model == 3 && f.processorType == 1)) r.busIndex = kBusIndexUnknown;
      break;
    case 3: {
      uint32_t i = ratioCode;
      if (BitSet(first, 27) && ((f.model == 8 && f.stepping >= 3) || f.model == 10)) i += 16;
      r.current = r.original = RatioOf(kRatioP6B[i]);
      r.busIndex = strapBus;
      break;
    }
    case 4: {
      uint32_t i = ratioCode + (BitSet(first, 27) ? 16 : 0);
      r.current = RatioOf(kRatioP6C[i]);
      r.busIndex = strapBus;
      r.original = OriginalMultiplierFromBrand(r.busIndex, f.brandString, f.busClock, r.original,
                                               r.current);
      break;
    }
    case 5:
      r.current = r.original = RatioOf(kRatioP4A[Bits(first, 8, 11)]);
      r.busIndex = kBusIndex100;
      break;
    case 6:
      r.original = Bits(second, 0, 4);
      r.current = Bits(second, 24, 28);
      r.busIndex = Pentium4BusIndex(Bits(second, 16, 18), f.model);
      break;
    case 7:
    case 8: {
      r.current = Bits(first, 22, 26);
      uint32_t low = 0, high = 0;
      driver.ReadMsr(kPerfStatus, low, high);  // a failed read gives 0, which stops below
      r.original = Bits(high, 8, 15);
      r.busIndex = BusIndexFromRatedClock(RatedClockFromBrand(f.brandString), r.original);
      break;
    }
    default:
      break;
  }
}

}  // namespace velora
