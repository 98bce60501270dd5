// Cyrix and IDT rows of the multiplier decoding: the ratio field of 0x2A, and the WinChip's
// own registers 0x10A and 0x147 for the parts without a method.

#include "probe/clock/cpu_clock_bits.h"
#include "probe/clock/cpu_clock_derive.h"
#include "probe/clock/cpu_clock_ratios.h"

namespace velora {

void DeriveCyrixIdtMultipliers(const CpuFields& f, MultiplierResult& r) {
  const uint32_t first = f.clockRegister1Low;
  const uint32_t second = f.clockRegister2Low;
  const uint32_t i = Bits(first, 22, 25);
  const uint32_t j = i + (BitSet(first, 27) ? 16 : 0);
  switch (f.multiplierMethod) {
    case 20:
    case 21:
    case 22:
      r.current = r.original = RatioOf(kRatioCX[i]);
      r.busIndex = static_cast<int32_t>(Bits(first, 18, 19));
      return;
    case 23:
    case 24:
      r.current = r.original = RatioOf(kRatioCX[j]);
      r.busIndex = static_cast<int32_t>(Bits(first, 18, 19));
      return;
    default:
      break;
  }
  r.busIndex = kBusIndexUnknown;
  if (f.vendorCode != kVendorIdt || f.family != 5) return;
  const double divisor = Bits(first, 0, 1) + 2.0;
  if ((f.model == 8 && f.stepping >= 7 && f.stepping <= 9) || f.model == 9) {
    r.current = r.original = (Bits(second, 23, 26) + 2.0) / divisor;
  } else if (f.model == 8) {
    r.current = r.original = divisor;
  }
}

}  // namespace velora
