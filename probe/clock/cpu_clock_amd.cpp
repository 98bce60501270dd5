// AMD rows of the multiplier decoding: the K6's 0xC0000087, the K7 strap in 0xC0010015, the
// FID status 0xC0010042 of the mobile K7 and the K8, and the bus rules of the Athlon family.

#include "probe/clock/cpu_clock_bits.h"
#include "probe/clock/cpu_clock_derive.h"
#include "probe/clock/cpu_clock_ratios.h"

namespace velora {

namespace {

constexpr double kFastBusFrom = 126.6635;

double FidMultiplier(uint32_t code) { return code * 0.5 + 4.0; }

// Method 11: the bus of a desktop Athlon from what the naming and the measurement know.
int32_t RuleK7(const CpuFields& f, double multiplier) {
  if (f.family != 6) return kBusIndex100;
  switch (f.model) {
    case 10:
      if (f.sempron) return kBusIndex166;
      if (f.multiprocessor || f.l2 == 256) return kBusIndex133;
      if (f.busClock >= 190.0) return kBusIndex200;
      return kBusIndex166;
    case 8:
      if (f.l2 == 64) return kBusIndex133;
      if (f.sempron) return kBusIndex166;
      if (f.stepping >= 1 && multiplier >= 12.5 && f.busClock >= 158.327) return kBusIndex166;
      return kBusIndex133;
    case 6:
      return kBusIndex133;
    default:
      return kBusIndex100;
  }
}

// Method 11, Thunderbird only: two strap codes stand for other ratios, and the bus follows
// from the ratio where the ratio alone tells it.
void ThunderbirdRule(CpuFields& f, uint32_t index, MultiplierResult& r) {
  if (index == 4) r.current = r.original = 14.0;
  if (index == 3) r.current = r.original = 13.0;
  const int m = static_cast<int>(r.original * 10.0);
  if (m >= 110 || m == 80 || m == 95) {
    r.busIndex = kBusIndex100;
  } else if (m == 105) {
    r.busIndex = kBusIndex133;
  } else {
    f.busClock = r.original > 0.0 ? f.coreClock / r.original : -1.0;
    r.busIndex = f.busClock > kFastBusFrom ? kBusIndex133 : kBusIndex100;
  }
}

// Method 12: the bus of a mobile Athlon from its start code.
int32_t RuleK7Fid(const CpuFields& f, uint32_t second) {
  if (f.model <= 7) return kBusIndex100;
  const uint8_t start = kRatioK7B[Bits(second, 8, 12)];
  if (start == 10) return kBusIndex100;
  if (start == 12) return kBusIndex133;
  const uint8_t original = kRatioK7B[Bits(second, 16, 20)];
  if (f.model == 8 && (original == 24 || original == 26 || original == 28)) {
    return f.maximumVoltageCode == 12 || f.maximumVoltageCode == 15 ? kBusIndex100 : kBusIndex133;
  }
  return kBusIndex133;
}

}  // namespace

void DeriveAmdMultipliers(CpuFields& f, MultiplierResult& r) {
  const uint32_t first = f.clockRegister1Low;
  const uint32_t second = f.clockRegister2Low;
  switch (f.multiplierMethod) {
    case 10: {
      const uint32_t i = Bits(first, 0, 3);
      if (f.model >= 12) {
        r.current = r.original = RatioOf(kRatioK6B[i]);
        f.currentFrequencyCode = static_cast<int32_t>(i);
        r.busIndex = kBusIndex100;
      } else {
        r.current = r.original = RatioOf(kRatioK6A[i]);
        r.busIndex = kBusIndexUnknown;
      }
      break;
    }
    case 11: {
      const uint32_t i = Bits(first, 24, 27) + (BitSet(first, 19) ? 16 : 0);
      r.current = r.original = RatioOf(kRatioK7A[i]);
      f.busClock = f.coreClock / r.current;  // no entry of the table is 0
      r.busIndex = RuleK7(f, r.current);
      if (f.family == 6 && f.model == 4) ThunderbirdRule(f, i, r);
      break;
    }
    case 12:
      r.current = RatioOf(kRatioK7B[Bits(second, 0, 4)]);
      r.original = RatioOf(kRatioK7B[Bits(second, 16, 20)]);
      r.busIndex = RuleK7Fid(f, second);
      break;
    case 13: {
      const uint32_t code = Bits(first, 24, 29);
      r.current = r.original = FidMultiplier(code);
      f.currentFrequencyCode = f.maximumFrequencyCode = static_cast<int32_t>(code);
      r.busIndex = kBusIndex200;
      break;
    }
    case 14: {
      const uint32_t maximum = Bits(second, 16, 21);
      r.current = FidMultiplier(Bits(second, 0, 5));
      // A maximum code of 0x2A is not a real maximum; the start code stands for it.
      r.original = FidMultiplier(maximum == 0x2A ? Bits(second, 8, 13) : maximum);
      f.currentFrequencyCode = static_cast<int32_t>(Bits(second, 0, 5));
      f.maximumFrequencyCode = static_cast<int32_t>(Bits(first, 24, 29));
      r.busIndex = kBusIndex200;
      break;
    }
    default:
      break;
  }
}

}  // namespace velora
