#include "probe/cpu_answers.h"

#include <cmath>

#include "probe/cpu_format.h"

namespace velora {

namespace {

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
    case 0x1001: text = f.nameWithCodeName; return 0;
    case 0x1002: text = f.busRateName; return 0;
    case 0x1003: text = f.vendorString; return 0;
    case 0x1004: text = f.vendorShortName; return 0;
    case 0x1005: text = f.brandString; return 0;
    case 0x1006: text = f.platform; return 0;
    case 0x1007: text = f.processorTypeText; return 0;
    case 0x1008: text = f.familyModelStepping; return 0;
    case 0x1009: text = f.l2SpeedRatioText; return 0;
    case 0x100A: text = f.name; return 0;
    case 0x100B: text = f.codeName; return 0;
    case 0x100C: text = f.vendorPlusName; return 0;
    case 0x100D: text = f.process; return 0;
    case 0x100E: text = f.serialNumber; return 0;
    case 0x100F: text = f.architecture; return 0;
    case 0x1010: text = f.clockMethod; return 0;
    case 0x1011: text = f.modelNumberSuffix; return 0;
    case 0x1012: text = f.coreRevision; return 0;
    case 0x1020: text = Clock(f.coreClock); return 0;
    case 0x1021: text = Clock(f.busClock); return 0;
    case 0x1022: text = Clock(f.effectiveBusClock); return 0;
    case 0x1023: text = Clock(f.multiplier); return 0;
    case 0x1024: text = Clock(f.ratedClock); return 0;
    case 0x1025: text = Clock(f.nominalBusClock); return 0;
    case 0x1026: text = Clock(f.nominalEffectiveBusClock); return 0;
    case 0x1027: text = Clock(f.l2SpeedRatio); return 0;
    case 0x1028: text = Clock(f.overclockPercent); return 0;
    case 0x1029: text = Clock(f.originalMultiplier); return 0;
    case 0x102A: case 0x102C: case 0x102D: case 0x102E: case 0x102F:
      text = Clock(f.coreClock);
      return 0;
    case 0x102B: text = Clock(f.multiplier); return 0;
    case 0x1031: text = Hex(f.family); return 0;
    case 0x1032: text = Hex(f.model); return 0;
    case 0x1033: text = Hex(f.stepping); return 0;
    case 0x1034: text = Hex2(f.extendedFamily); return 0;
    case 0x1035: text = Hex(f.extendedModel); return 0;
    case 0x1036: text = Hex2(f.brandId); return 0;
    case 0x1047: text = Hex2(f.apicId); return 0;
    case 0x1060: text = f.transmetaDescription; return 0;
    case 0x1061: text = Decimal(f.transmetaCurrentClock); return 0;
    case 0x1062: text = Decimal(f.transmetaNominalClock); return 0;
    case 0x1063: text = Decimal(f.transmetaCurrentVoltage); return 0;
    case 0x1064: text = Decimal(f.transmetaLongRunLevel); return 0;
    case 0x1065: text = Decimal(f.transmetaGateDelay); return 0;
    case 0x1066: text = f.transmetaHardwareVersion; return 0;
    case 0x1067: text = f.transmetaSoftwareVersion; return 0;
    case 0x10A0: text = Hex(f.extLeafFamily); return 0;
    case 0x10A1: text = Hex(f.extLeafModel); return 0;
    case 0x10A2: text = Hex(f.extLeafStepping); return 0;
    case 0x10B1: text = Hex(f.combinedFamily); return 0;
    case 0x10B2: text = Hex(f.combinedModel); return 0;
    case 0x10B3: text = Hex(f.extLeafCombinedFamily); return 0;
    case 0x10B4: text = Hex(f.extLeafCombinedModel); return 0;
    case 0x10C0: text = Tenths(f.dieSize); return 0;
    case 0x10C1: text = Tenths(f.transistors); return 0;
    case 0x1214: text = f.currentMultiplierText; return 0;
    case 0x1215: text = f.startMultiplierText; return 0;
    case 0x1216: text = f.maximumMultiplierText; return 0;
    case 0x1224: text = f.currentVoltageText; return 0;
    case 0x1225: text = f.startVoltageText; return 0;
    case 0x1226: text = f.maximumVoltageText; return 0;
    default: break;
  }
  if (id >= 0x1080 && id <= 0x1087) {
    text = f.cacheDetailText[id - 0x1080];
    return 0;
  }
  text.clear();
  return -1;
}

int32_t CpuIntAnswer(const CpuFields& f, uint32_t id, int32_t& value) {
  int32_t v = -1;
  switch (id) {
    case 0x1030: v = f.processors; break;
    case 0x1031: v = f.family; break;
    case 0x1032: v = f.model; break;
    case 0x1033: v = f.stepping; break;
    case 0x1034: v = f.extendedFamily; break;
    case 0x1035: v = f.extendedModel; break;
    case 0x1036: v = f.brandId; break;
    case 0x1037: v = I(f.leaf1Edx); break;
    case 0x1038: v = I(f.extLeaf1Edx); break;
    case 0x1039: v = f.l1Instruction; break;
    case 0x103A: v = f.traceCache; break;
    case 0x103B: v = f.l1Data; break;
    case 0x103C: v = f.l2; break;
    case 0x103D: v = f.l3; break;
    case 0x103E: v = f.logicalPerCore; break;
    case 0x103F: case 0x104F: v = f.processorType; break;
    case 0x1040: v = I(f.clockRegister1Low); break;
    case 0x1048: v = I(f.clockRegister1High); break;
    case 0x1041: v = I(f.clockRegister2Low); break;
    case 0x1049: v = I(f.clockRegister2High); break;
    case 0x1042: v = f.busRateFactor; break;
    case 0x1043: v = f.l1Unified; break;
    case 0x1044: v = I(f.leaf1Eax); break;
    case 0x1045: v = I(f.extLeaf1Eax); break;
    case 0x1046: v = f.vendorCode; break;
    case 0x1047: v = f.apicId; break;
    case 0x104B: v = I(f.leaf1Ecx); break;
    case 0x104D: v = f.platformId; break;
    case 0x104E: v = f.microcodeSignature; break;
    case 0x1050: v = f.mmx; break;
    case 0x1051: v = f.amdMmx; break;
    case 0x1052: v = f.sse; break;
    case 0x1053: v = f.sse2; break;
    case 0x1054: v = f.threeDNow; break;
    case 0x1055: v = f.threeDNowExt; break;
    case 0x1056: v = f.hyperThreading; break;
    case 0x1057: v = f.amd64; break;
    case 0x1058: v = f.leaf1EdxBit30; break;
    case 0x1059: v = f.sse3; break;
    case 0x105A: v = f.serialNumberPresent; break;
    case 0x105B: v = f.speedStep; break;
    case 0x105C: v = f.amdFidVid; break;
    case 0x105D: v = f.viaPowerControl; break;
    case 0x105E: v = f.longRun; break;
    case 0x105F: v = f.em64t; break;
    case 0x1061: v = f.transmetaCurrentClock; break;
    case 0x1062: v = f.transmetaNominalClock; break;
    case 0x1063: v = f.transmetaCurrentVoltage; break;
    case 0x1064: v = f.transmetaLongRunLevel; break;
    case 0x1065: v = f.transmetaGateDelay; break;
    case 0x1070: v = I(f.centaurEdx); break;
    case 0x1071: v = I(f.transmetaEdx); break;
    case 0x1090: v = f.nx; break;
    case 0x1091: v = f.msr; break;
    case 0x1092: v = f.multiCore; break;
    case 0x1093: v = f.p4EnhancedSpeedStep; break;
    case 0x10A0: v = f.extLeafFamily; break;
    case 0x10A1: v = f.extLeafModel; break;
    case 0x10A2: v = f.extLeafStepping; break;
    case 0x10A3: v = I(f.extLeaf1Ecx); break;
    case 0x10B0: v = f.coresPerPackage; break;
    case 0x1201: v = f.powerControlType; break;
    case 0x1202: v = f.multiplierMethod; break;
    case 0x1211: v = f.currentFrequencyCode; break;
    case 0x1212: v = f.startFrequencyCode; break;
    case 0x1213: v = f.maximumFrequencyCode; break;
    case 0x1221: v = f.currentVoltageCode; break;
    case 0x1222: v = f.startVoltageCode; break;
    case 0x1223: v = f.maximumVoltageCode; break;
    default:
      if (id >= 0x1080 && id <= 0x1087) {
        v = f.cacheDetail[id - 0x1080];
        break;
      }
      value = -1;
      return -1;
  }
  value = v;
  return 0;
}

}  // namespace velora
