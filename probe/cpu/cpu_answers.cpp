#include "probe/cpu/cpu_answers.h"

#include <cmath>

#include "probe/cpu/cpu_format.h"
#include "probe/probe_id_table.h"

namespace velora {

namespace {

namespace ids = probe_id;

constexpr uint32_t kCacheDetailIds = kCacheDetailCount;

std::string Hex(int32_t v) { return FormatText("%X", static_cast<unsigned>(v)); }
std::string Hex2(int32_t v) { return FormatText("%02X", static_cast<unsigned>(v)); }
// A figure that is not a number or is infinite reads as unknown, and one that rounds to zero
// reads as zero: "nan", "inf" and "-0.00" are texts that GetNumberString would pass to the
// pages.
std::string Fixed(const char* format, double v) {
  std::string text = FormatText(format, std::isfinite(v) ? v : -1.0);
  if (text.find_first_of("123456789") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}
std::string Clock(double v) { return Fixed("%4.2f", v); }
std::string Tenths(double v) { return Fixed("%4.1f", v); }
// Transmeta numbers: the text stays empty while the value is negative.
std::string Decimal(int32_t v) { return v < 0 ? std::string() : FormatText("%d", v); }

int32_t I(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

int32_t CpuTextAnswer(const CpuFields& f, uint32_t id, std::string& text) {
  switch (id) {
    case ids::kCpuNameWithCodeName: text = f.nameWithCodeName; return 0;
    case ids::kCpuBusRateName: text = f.busRateName; return 0;
    case ids::kCpuVendorString: text = f.vendorString; return 0;
    case ids::kCpuVendorShortName: text = f.vendorShortName; return 0;
    case ids::kCpuBrandString: text = f.brandString; return 0;
    case ids::kCpuPlatform: text = f.platform; return 0;
    case ids::kCpuProcessorTypeText: text = f.processorTypeText; return 0;
    case ids::kCpuFamilyModelStepping: text = f.familyModelStepping; return 0;
    case ids::kCpuL2SpeedRatioText: text = f.l2SpeedRatioText; return 0;
    case ids::kCpuName: text = f.name; return 0;
    case ids::kCpuCodeName: text = f.codeName; return 0;
    case ids::kCpuVendorPlusName: text = f.vendorPlusName; return 0;
    case ids::kCpuProcess: text = f.process; return 0;
    case ids::kCpuSerialNumber: text = f.serialNumber; return 0;
    case ids::kCpuArchitecture: text = f.architecture; return 0;
    case ids::kCpuClockMethod: text = f.clockMethod; return 0;
    case ids::kCpuModelNumberSuffix: text = f.modelNumberSuffix; return 0;
    case ids::kCpuCoreRevision: text = f.coreRevision; return 0;
    case ids::kCpuCoreClock: text = Clock(f.coreClock); return 0;
    case ids::kCpuBusClock: text = Clock(f.busClock); return 0;
    case ids::kCpuEffectiveBusClock: text = Clock(f.effectiveBusClock); return 0;
    case ids::kCpuMultiplier: text = Clock(f.multiplier); return 0;
    case ids::kCpuRatedClock: text = Clock(f.ratedClock); return 0;
    case ids::kCpuNominalBusClock: text = Clock(f.nominalBusClock); return 0;
    case ids::kCpuNominalEffectiveBusClock: text = Clock(f.nominalEffectiveBusClock); return 0;
    case ids::kCpuL2SpeedRatio: text = Clock(f.l2SpeedRatio); return 0;
    case ids::kCpuOverclockPercent: text = Clock(f.overclockPercent); return 0;
    case ids::kCpuOriginalMultiplier: text = Clock(f.originalMultiplier); return 0;
    case ids::kCpuRemeasureCoreClock: text = Clock(f.coreClock); return 0;
    case ids::kCpuRereadMultiplier: text = Clock(f.multiplier); return 0;
    case ids::kCpuFamily: text = Hex(f.family); return 0;
    case ids::kCpuModel: text = Hex(f.model); return 0;
    case ids::kCpuStepping: text = Hex(f.stepping); return 0;
    case ids::kCpuExtendedFamily: text = Hex2(f.extendedFamily); return 0;
    case ids::kCpuExtendedModel: text = Hex(f.extendedModel); return 0;
    case ids::kCpuBrandId: text = Hex2(f.brandId); return 0;
    case ids::kCpuApicId: text = Hex2(f.apicId); return 0;
    case ids::kTransmetaDescription: text = f.transmetaDescription; return 0;
    case ids::kTransmetaCurrentClock: text = Decimal(f.transmetaCurrentClock); return 0;
    case ids::kTransmetaNominalClock: text = Decimal(f.transmetaNominalClock); return 0;
    case ids::kTransmetaCurrentVoltage: text = Decimal(f.transmetaCurrentVoltage); return 0;
    case ids::kTransmetaLongRunLevel: text = Decimal(f.transmetaLongRunLevel); return 0;
    case ids::kTransmetaGateDelay: text = Decimal(f.transmetaGateDelay); return 0;
    case ids::kTransmetaHardwareVersion: text = f.transmetaHardwareVersion; return 0;
    case ids::kTransmetaSoftwareVersion: text = f.transmetaSoftwareVersion; return 0;
    case ids::kCpuExtLeafFamily: text = Hex(f.extLeafFamily); return 0;
    case ids::kCpuExtLeafModel: text = Hex(f.extLeafModel); return 0;
    case ids::kCpuExtLeafStepping: text = Hex(f.extLeafStepping); return 0;
    case ids::kCpuCombinedFamily: text = Hex(f.combinedFamily); return 0;
    case ids::kCpuCombinedModel: text = Hex(f.combinedModel); return 0;
    case ids::kCpuExtLeafCombinedFamily: text = Hex(f.extLeafCombinedFamily); return 0;
    case ids::kCpuExtLeafCombinedModel: text = Hex(f.extLeafCombinedModel); return 0;
    case ids::kCpuDieSize: text = Tenths(f.dieSize); return 0;
    case ids::kCpuTransistors: text = Tenths(f.transistors); return 0;
    case ids::kPowerCurrentMultiplierText: text = f.currentMultiplierText; return 0;
    case ids::kPowerStartMultiplierText: text = f.startMultiplierText; return 0;
    case ids::kPowerMaximumMultiplierText: text = f.maximumMultiplierText; return 0;
    case ids::kPowerCurrentVoltageText: text = f.currentVoltageText; return 0;
    case ids::kPowerStartVoltageText: text = f.startVoltageText; return 0;
    case ids::kPowerMaximumVoltageText: text = f.maximumVoltageText; return 0;
    default: break;
  }
  if (id >= ids::kCpuRemeasureCoreClockMode1 && id < ids::kCpuRemeasureCoreClockMode1 + 4) {
    text = Clock(f.coreClock);
    return 0;
  }
  if (id >= ids::kCpuCacheDetail && id < ids::kCpuCacheDetail + kCacheDetailIds) {
    text = f.cacheDetailText[id - ids::kCpuCacheDetail];
    return 0;
  }
  text.clear();
  return -1;
}

int32_t CpuIntAnswer(const CpuFields& f, uint32_t id, int32_t& value) {
  int32_t v = -1;
  switch (id) {
    case ids::kCpuProcessors: v = f.processors; break;
    case ids::kCpuFamily: v = f.family; break;
    case ids::kCpuModel: v = f.model; break;
    case ids::kCpuStepping: v = f.stepping; break;
    case ids::kCpuExtendedFamily: v = f.extendedFamily; break;
    case ids::kCpuExtendedModel: v = f.extendedModel; break;
    case ids::kCpuBrandId: v = f.brandId; break;
    case ids::kCpuLeaf1Edx: v = I(f.leaf1Edx); break;
    case ids::kCpuExtLeaf1Edx: v = I(f.extLeaf1Edx); break;
    case ids::kCpuL1InstructionKb: v = f.l1Instruction; break;
    case ids::kCpuTraceCacheKuops: v = f.traceCache; break;
    case ids::kCpuL1DataKb: v = f.l1Data; break;
    case ids::kCpuL2Kb: v = f.l2; break;
    case ids::kCpuL3Kb: v = f.l3; break;
    case ids::kCpuLogicalPerCore: v = f.logicalPerCore; break;
    case ids::kCpuProcessorType:
    case ids::kCpuProcessorTypeAgain: v = f.processorType; break;
    case ids::kCpuClockRegister1Low: v = I(f.clockRegister1Low); break;
    case ids::kCpuClockRegister1High: v = I(f.clockRegister1High); break;
    case ids::kCpuClockRegister2Low: v = I(f.clockRegister2Low); break;
    case ids::kCpuClockRegister2High: v = I(f.clockRegister2High); break;
    case ids::kCpuBusRateFactor: v = f.busRateFactor; break;
    case ids::kCpuL1UnifiedKb: v = f.l1Unified; break;
    case ids::kCpuLeaf1Eax: v = I(f.leaf1Eax); break;
    case ids::kCpuExtLeaf1Eax: v = I(f.extLeaf1Eax); break;
    case ids::kCpuVendorCode: v = f.vendorCode; break;
    case ids::kCpuApicId: v = f.apicId; break;
    case ids::kCpuLeaf1Ecx: v = I(f.leaf1Ecx); break;
    case ids::kCpuPlatformId: v = f.platformId; break;
    case ids::kCpuMicrocodeSignature: v = f.microcodeSignature; break;
    case ids::kCpuMmx: v = f.mmx; break;
    case ids::kCpuAmdMmx: v = f.amdMmx; break;
    case ids::kCpuSse: v = f.sse; break;
    case ids::kCpuSse2: v = f.sse2; break;
    case ids::kCpu3DNow: v = f.threeDNow; break;
    case ids::kCpu3DNowExt: v = f.threeDNowExt; break;
    case ids::kCpuHyperThreading: v = f.hyperThreading; break;
    case ids::kCpuAmd64: v = f.amd64; break;
    case ids::kCpuLeaf1EdxBit30: v = f.leaf1EdxBit30; break;
    case ids::kCpuSse3: v = f.sse3; break;
    case ids::kCpuSerialNumberPresent: v = f.serialNumberPresent; break;
    case ids::kCpuSpeedStep: v = f.speedStep; break;
    case ids::kCpuAmdFidVid: v = f.amdFidVid; break;
    case ids::kCpuViaPowerControl: v = f.viaPowerControl; break;
    case ids::kCpuLongRun: v = f.longRun; break;
    case ids::kCpuEm64t: v = f.em64t; break;
    case ids::kTransmetaCurrentClock: v = f.transmetaCurrentClock; break;
    case ids::kTransmetaNominalClock: v = f.transmetaNominalClock; break;
    case ids::kTransmetaCurrentVoltage: v = f.transmetaCurrentVoltage; break;
    case ids::kTransmetaLongRunLevel: v = f.transmetaLongRunLevel; break;
    case ids::kTransmetaGateDelay: v = f.transmetaGateDelay; break;
    case ids::kCentaurEdx: v = I(f.centaurEdx); break;
    case ids::kTransmetaEdx: v = I(f.transmetaEdx); break;
    case ids::kCpuNx: v = f.nx; break;
    case ids::kCpuMsr: v = f.msr; break;
    case ids::kCpuMultiCore: v = f.multiCore; break;
    case ids::kCpuP4EnhancedSpeedStep: v = f.p4EnhancedSpeedStep; break;
    case ids::kCpuExtLeafFamily: v = f.extLeafFamily; break;
    case ids::kCpuExtLeafModel: v = f.extLeafModel; break;
    case ids::kCpuExtLeafStepping: v = f.extLeafStepping; break;
    case ids::kCpuExtLeaf1Ecx: v = I(f.extLeaf1Ecx); break;
    case ids::kCpuCoresPerPackage: v = f.coresPerPackage; break;
    case ids::kCpuLeaf7Ebx: v = I(f.leaf7Ebx); break;
    case ids::kCpuLeaf7Ecx: v = I(f.leaf7Ecx); break;
    case ids::kCpuLeaf7Edx: v = I(f.leaf7Edx); break;
    case ids::kCpuLeaf7Sub1Eax: v = I(f.leaf7Sub1Eax); break;
    case ids::kCpuLeafDSub1Eax: v = I(f.leafDSub1Eax); break;
    case ids::kCpuLeaf6Eax: v = I(f.leaf6Eax); break;
    case ids::kCpuExtLeaf7Edx: v = I(f.extLeaf7Edx); break;
    case ids::kCpuExtLeaf8Ebx: v = I(f.extLeaf8Ebx); break;
    case ids::kPowerControlType: v = f.powerControlType; break;
    case ids::kPowerMultiplierMethod: v = f.multiplierMethod; break;
    case ids::kPowerCurrentFrequencyCode: v = f.currentFrequencyCode; break;
    case ids::kPowerStartFrequencyCode: v = f.startFrequencyCode; break;
    case ids::kPowerMaximumFrequencyCode: v = f.maximumFrequencyCode; break;
    case ids::kPowerCurrentVoltageCode: v = f.currentVoltageCode; break;
    case ids::kPowerStartVoltageCode: v = f.startVoltageCode; break;
    case ids::kPowerMaximumVoltageCode: v = f.maximumVoltageCode; break;
    default:
      if (id >= ids::kCpuCacheDetail && id < ids::kCpuCacheDetail + kCacheDetailIds) {
        v = f.cacheDetail[id - ids::kCpuCacheDetail];
        break;
      }
      value = -1;
      return -1;
  }
  value = v;
  return 0;
}

}  // namespace velora
