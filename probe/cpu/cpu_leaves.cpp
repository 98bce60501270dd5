#include "probe/cpu/cpu_leaves.h"

#include <algorithm>
#include <cstring>

#include "probe/cpu/cpu_format.h"
#include "probe/cpu/cpu_topology.h"
#include "probe/cpu/cpu_vendor.h"

namespace velora {

namespace {

constexpr uint32_t Bits(uint32_t value, int low, int high) {
  return (value >> low) & ((high - low >= 31) ? 0xFFFFFFFFu : ((1u << (high - low + 1)) - 1));
}
constexpr int32_t Bit(uint32_t value, int bit) { return static_cast<int32_t>((value >> bit) & 1); }

constexpr const char* kProcessorTypeTexts[] = {"Original OEM processor", "OverDrive processor",
                                               "Dual processor", "Reserved"};

void DecodeVendor(CpuidSource& cpuid, CpuFields& f) {
  CpuidRegisters r = cpuid.Query(0, 0);
  f.highestStandardLeaf = r.eax;
  char vendor[13] = {};
  std::memcpy(vendor, &r.ebx, 4);
  std::memcpy(vendor + 4, &r.edx, 4);
  std::memcpy(vendor + 8, &r.ecx, 4);
  // The string ends at a NUL, as a C string copy of the registers would.
  f.vendorString = vendor;
  if (const CpuVendorRow* row = FindCpuVendor(f.vendorString)) {
    f.vendorCode = row->code;
    f.vendorShortName = std::string(row->shortName);
  }
}

void DecodeExtendedLeaf1(CpuidSource& cpuid, CpuFields& f) {
  f.highestExtendedLeaf = cpuid.Query(0x80000000, 0).eax;
  if (f.highestExtendedLeaf <= 0x80000000u) return;
  CpuidRegisters r = cpuid.Query(0x80000001, 0);
  f.extLeaf1Eax = r.eax;
  f.extLeaf1Ebx = r.ebx;
  f.extLeaf1Edx = r.edx;
  f.extLeaf1Ecx = r.ecx;
  if (f.vendorCode == kVendorAmd) {
    f.brandId = static_cast<int32_t>(Bits(r.ebx, 6, 11));
    f.brandNumber = static_cast<int32_t>(Bits(r.ebx, 0, 5));
  }
  f.amdMmx = Bit(r.edx, 22);
  if (f.vendorCode == kVendorIntel) {
    f.em64t = Bit(r.edx, 29);
  } else {
    f.amd64 = Bit(r.edx, 29);
  }
  f.threeDNow = Bit(r.edx, 31);
  f.threeDNowExt = Bit(r.edx, 30);
  f.nx = Bit(r.edx, 20);
}

void DecodeLeaf1(CpuidSource& cpuid, CpuFields& f) {
  CpuidRegisters r = cpuid.Query(1, 0);
  f.leaf1Eax = r.eax;
  f.leaf1Ebx = r.ebx;
  f.leaf1Ecx = r.ecx;
  f.leaf1Edx = r.edx;
  f.stepping = static_cast<int32_t>(Bits(r.eax, 0, 3));
  f.model = static_cast<int32_t>(Bits(r.eax, 4, 7));
  f.family = static_cast<int32_t>(Bits(r.eax, 8, 11));
  f.processorType = static_cast<int32_t>(Bits(r.eax, 12, 13));
  f.processorTypeText = kProcessorTypeTexts[f.processorType];
  if (f.family == 15) f.apicId = static_cast<int32_t>(Bits(r.ebx, 24, 31));

  if (f.vendorCode == kVendorAmd && f.family == 15) {
    // An extended brand identifier from leaf 0x80000001 wins; else the 8-bit one.
    if (f.brandId == 0) {
      uint32_t id = Bits(r.ebx, 5, 7);
      f.brandId = static_cast<int32_t>(id != 0 ? id : Bits(r.ebx, 8, 10));
      f.brandNumber = static_cast<int32_t>(Bits(r.ebx, 0, 4));
    }
  } else {
    f.brandId = static_cast<int32_t>(Bits(r.ebx, 0, 7));
  }

  f.timeStampCounter = Bit(r.edx, 4);
  f.msrPresent = Bit(r.edx, 5);
  f.msr = Bit(r.edx, 5);
  f.mmx = Bit(r.edx, 23);
  f.sse = Bit(r.edx, 25);
  f.sse2 = Bit(r.edx, 26);
  f.hyperThreading = Bit(r.edx, 28);
  f.leaf1EdxBit30 = Bit(r.edx, 30);
  f.sse3 = Bit(r.ecx, 0);
}

void DecodeSignatures(CpuFields& f) {
  uint32_t eax = f.leaf1Eax;
  f.extendedFamily = static_cast<int32_t>(Bits(eax, 20, 27));
  f.extendedModel = static_cast<int32_t>(Bits(eax, 16, 19));
  f.combinedFamily = f.extendedFamily * 16 + f.family;
  f.combinedModel = f.extendedModel * 16 + f.model;
  if (f.vendorCode != kVendorIntel && f.highestExtendedLeaf > 0x80000000u) {
    uint32_t x = f.extLeaf1Eax;
    f.extendedFamily = static_cast<int32_t>(Bits(x, 20, 27));
    f.extendedModel = static_cast<int32_t>(Bits(x, 16, 19));
    f.extLeafFamily = static_cast<int32_t>(Bits(x, 8, 11));
    f.extLeafModel = static_cast<int32_t>(Bits(x, 4, 7));
    f.extLeafStepping = static_cast<int32_t>(Bits(x, 0, 3));
    f.extLeafCombinedFamily = static_cast<int32_t>((Bits(x, 20, 27) * 16 + Bits(x, 8, 11)) & 0xFFF);
    f.extLeafCombinedModel = static_cast<int32_t>((Bits(x, 16, 19) * 16 + Bits(x, 4, 7)) & 0xFF);
  }
  f.familyModelStepping = FormatText("%X%X%X", static_cast<unsigned>(f.family),
                                     static_cast<unsigned>(f.model),
                                     static_cast<unsigned>(f.stepping));
}

void DecodeBusRate(CpuFields& f) {
  bool intel = f.vendorCode == kVendorIntel;
  bool amd = f.vendorCode == kVendorAmd;
  if ((intel && f.family == 15 && f.extendedFamily == 0) ||
      (intel && f.family == 6 && (f.model == 9 || f.model == 12 || f.model == 13))) {
    f.busRateFactor = 4;
    f.busRateName = "QDR";
  } else if (amd && f.family == 15) {
    f.busRateFactor = 0;
    f.busRateName = "---";
  } else if (amd && f.family > 5) {
    f.busRateFactor = 2;
    f.busRateName = "DDR";
  } else {
    f.busRateFactor = 1;
    f.busRateName = "SDR";
  }
}

void DecodeSerialNumber(CpuidSource& cpuid, CpuFields& f) {
  if (f.highestStandardLeaf <= 2 || !Bit(f.leaf1Edx, 18)) return;
  CpuidRegisters r = cpuid.Query(3, 0);
  f.serialNumber = FormatText("%04X-%04X-%04X-%04X-%04X-%04X", f.leaf1Eax >> 16,
                              f.leaf1Eax & 0xFFFF, r.edx >> 16, r.edx & 0xFFFF, r.ecx >> 16,
                              r.ecx & 0xFFFF);
  f.serialNumberPresent = 1;
}

// Each register only where the highest leaf (or, for leaf 7, its sub-leaf count) reaches it: a
// leaf beyond the highest answers the data of another.
void DecodeFlagLeaves(CpuidSource& cpuid, CpuFields& f) {
  if (f.highestStandardLeaf >= 6) f.leaf6Eax = cpuid.Query(6, 0).eax;
  if (f.highestStandardLeaf >= 7) {
    CpuidRegisters r = cpuid.Query(7, 0);
    f.leaf7Ebx = r.ebx;
    f.leaf7Ecx = r.ecx;
    f.leaf7Edx = r.edx;
    if (r.eax >= 1) f.leaf7Sub1Eax = cpuid.Query(7, 1).eax;
  }
  if (f.highestStandardLeaf >= 0xD) f.leafDSub1Eax = cpuid.Query(0xD, 1).eax;
  if (f.highestExtendedLeaf >= 0x80000007u) f.extLeaf7Edx = cpuid.Query(0x80000007, 0).edx;
  if (f.highestExtendedLeaf >= 0x80000008u) f.extLeaf8Ebx = cpuid.Query(0x80000008, 0).ebx;
}

void DecodeVendorFlagLeaves(CpuidSource& cpuid, CpuFields& f) {
  if (cpuid.Query(0x80860000, 0).eax > 0x80860000u) f.transmetaEdx = cpuid.Query(0x80860001, 0).edx;
  if (cpuid.Query(0xC0000000, 0).eax > 0xC0000000u) f.centaurEdx = cpuid.Query(0xC0000001, 0).edx;
}

}  // namespace

std::string RegisterText(const uint32_t* registers, size_t count) {
  std::string text(count * 4, '\0');
  std::memcpy(text.data(), registers, count * 4);
  text.resize(std::strlen(text.c_str()));
  size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

bool AnswersLeafZero(CpuidSource& cpuid) {
  const CpuidRegisters r = cpuid.Query(0, 0);
  return (r.eax | r.ebx | r.ecx | r.edx) != 0;
}

void DecodeIdentificationLeaves(CpuidSource& cpuid, CpuFields& f) {
  DecodeVendor(cpuid, f);
  DecodeExtendedLeaf1(cpuid, f);
  DecodeLeaf1(cpuid, f);
  DecodeFlagLeaves(cpuid, f);
  DecodeSignatures(f);
  DecodeProcessorCounts(cpuid, f);
  DecodeBusRate(f);
  DecodeSerialNumber(cpuid, f);
  DecodeVendorFlagLeaves(cpuid, f);
}

// The text that consecutive leaves hold in EAX, EBX, ECX, EDX order (at most four leaves).
static std::string LeafRunText(CpuidSource& cpuid, uint32_t firstLeaf, uint32_t leaves) {
  uint32_t registers[16];
  for (uint32_t i = 0; i < leaves && i < 4; ++i) {
    CpuidRegisters r = cpuid.Query(firstLeaf + i, 0);
    registers[4 * i] = r.eax;
    registers[4 * i + 1] = r.ebx;
    registers[4 * i + 2] = r.ecx;
    registers[4 * i + 3] = r.edx;
  }
  return RegisterText(registers, 4 * std::min<uint32_t>(leaves, 4));
}

void DecodeBrandString(CpuidSource& cpuid, CpuFields& f) {
  if (f.highestExtendedLeaf <= 0x80000003u) return;
  f.brandString = LeafRunText(cpuid, 0x80000002, 3);
}

void DecodeAmdPowerLeaf(CpuidSource& cpuid, CpuFields& f) {
  if (f.vendorCode != kVendorAmd || f.highestExtendedLeaf <= 0x80000006u) return;
  uint32_t edx = cpuid.Query(0x80000007, 0).edx;
  f.powerControlCapable = (Bit(edx, 1) && Bit(edx, 2)) ? 1 : 0;
  f.corePerformanceBoost = Bit(edx, 9) ? 1 : 0;
}

void DecodeTransmetaLeaves(CpuidSource& cpuid, CpuFields& f) {
  uint32_t highest = cpuid.Query(0x80860000, 0).eax;
  if (highest >= 0x80860002u) {
    CpuidRegisters l1 = cpuid.Query(0x80860001, 0);
    CpuidRegisters l2 = cpuid.Query(0x80860002, 0);
    f.transmetaNominalClock = static_cast<int32_t>(l1.ecx);
    if (l1.ebx != 0x20000000u) {
      f.transmetaHardwareVersion = FormatText("%d.%d-%d.%d", l1.ebx >> 24, (l1.ebx >> 16) & 0xFF,
                                              (l1.ebx >> 8) & 0xFF, l1.ebx & 0xFF);
    }
    f.transmetaSoftwareVersion =
        FormatText("%d.%d.%d-%d-%d", l2.ebx >> 24, (l2.ebx >> 16) & 0xFF, (l2.ebx >> 8) & 0xFF,
                   l2.ebx & 0xFF, static_cast<int32_t>(l2.ecx));
  }
  if (highest >= 0x80860006u) {
    f.transmetaDescription = LeafRunText(cpuid, 0x80860003, 4);
  }
  if (highest >= 0x80860007u) {
    CpuidRegisters r = cpuid.Query(0x80860007, 0);
    f.transmetaCurrentClock = static_cast<int32_t>(r.eax);
    f.transmetaCurrentVoltage = static_cast<int32_t>(r.ebx);
    f.transmetaLongRunLevel = static_cast<int32_t>(r.ecx);
    f.transmetaGateDelay = static_cast<int32_t>(r.edx);
  }
}

void DecodePowerManagement(CpuFields& f) {
  if (f.vendorCode == kVendorIntel) {
    bool ecx7 = Bit(f.leaf1Ecx, 7) != 0;
    if (ecx7 || (f.family == 6 && f.model == 11 && f.brandId == 6) ||
        (f.family == 6 && f.model == 8 && f.l2 == 256 && f.platformId >= 0 &&
         (f.platformId & 1) != 0 && f.multiplier > 5.0)) {
      f.speedStep = 1;
    }
    if (ecx7 && f.family == 15 && f.model > 2) {
      f.powerControlType = 87;
      f.p4EnhancedSpeedStep = 1;
    }
    if (f.family == 6 && (f.model == 9 || f.model > 11)) f.powerControlType = 86;
  } else if (f.vendorCode == kVendorAmd) {
    f.amdFidVid = f.powerControlCapable;
  } else if (f.vendorCode == kVendorIdt && f.powerControlType != 0) {
    f.viaPowerControl = 1;
  }
}

}  // namespace velora
