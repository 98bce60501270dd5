#include "probe/cache/cache_decode.h"

#include "probe/cache/cache_amd.h"
#include "probe/cache/cache_descriptors.h"
#include "probe/cache/cache_deterministic.h"

namespace velora {

void DecodeCaches(CpuidSource& cpuid, CpuFields& f) {
  if (f.vendorCode == kVendorIntel) {
    if (f.highestStandardLeaf <= 1) return;
    CpuidRegisters r = cpuid.Query(2, 0);
    uint32_t registers[4] = {r.eax, r.ebx, r.ecx, r.edx};
    bool deferred = DecodeIntelCacheDescriptors(registers, f);
    if ((deferred || f.l2 <= 0) && f.highestStandardLeaf >= 4) {
      ApplyDeterministicCaches(ReadDeterministicCaches(cpuid, 4), f);
    }
  } else if (f.highestExtendedLeaf > 0x80000004u) {
    DecodeAmdCaches(cpuid, f);
  }
}

void DecodeL2SpeedRatio(CpuFields& f) {
  if (f.l2 <= 0) return;
  if (f.vendorCode == kVendorAmd && f.family == 6 && f.model <= 2) {
    switch ((f.clockRegister2Low >> 4) & 3) {
      case 0: f.l2SpeedRatioText = "1/2"; f.l2SpeedRatio = 0.5; break;
      case 1: f.l2SpeedRatioText = "2/5"; f.l2SpeedRatio = 0.4; break;
      case 2: f.l2SpeedRatioText = "1/3"; f.l2SpeedRatio = 0.33; break;
      default: break;
    }
  } else if (f.vendorCode == kVendorIntel && f.l2HalfSpeed) {
    f.l2SpeedRatioText = "1/2";
    f.l2SpeedRatio = 0.5;
  } else {
    f.l2SpeedRatioText = "Full";
    f.l2SpeedRatio = 1.0;
  }
}

}  // namespace velora
