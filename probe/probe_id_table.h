#pragma once
// Every id the probe object answers, written once: its name, the run of ids it covers and how it
// is read. The probe's answers, the dump tool's catalogue and the pages' constants all come from
// this list, so an id cannot mean one thing to the library and another to its readers.

#include <cstddef>
#include <cstdint>

namespace velora {

enum class ProbeIdKind {
  Text,        // GetString
  Int,         // GetInt
  TextAndInt,  // both forms
  Action,      // GetInt with a side effect (re-identify, re-measure, refresh)
  TextAction,  // GetString that measures again
  Command,     // Set: changes processor state, never run by a dump
};

// A run of this length is one id per entry of the PCI device table: base + entry.
inline constexpr uint32_t kPerDeviceEntry = 0;

// X(Name, first id, ids in the run, kind), in id order.
// clang-format off
#define VELORA_PROBE_IDS(X)                                 \
  X(BuildNumber, 0x0001, 1, Text)                           \
  X(BuildDate, 0x0002, 1, Text)                             \
  X(Author, 0x0003, 1, Text)                                \
  X(DriverStatus, 0x0010, 1, Int)                           \
  X(DirectXVersion, 0x0300, 1, Text)                        \
  X(CpuNameWithCodeName, 0x1001, 1, Text)                   \
  X(CpuBusRateName, 0x1002, 1, Text)                        \
  X(CpuVendorString, 0x1003, 1, Text)                       \
  X(CpuVendorShortName, 0x1004, 1, Text)                    \
  X(CpuBrandString, 0x1005, 1, Text)                        \
  X(CpuPlatform, 0x1006, 1, Text)                           \
  X(CpuProcessorTypeText, 0x1007, 1, Text)                  \
  X(CpuFamilyModelStepping, 0x1008, 1, Text)                \
  X(CpuL2SpeedRatioText, 0x1009, 1, Text)                   \
  X(CpuName, 0x100A, 1, Text)                               \
  X(CpuCodeName, 0x100B, 1, Text)                           \
  X(CpuVendorPlusName, 0x100C, 1, Text)                     \
  X(CpuProcess, 0x100D, 1, Text)                            \
  X(CpuSerialNumber, 0x100E, 1, Text)                       \
  X(CpuArchitecture, 0x100F, 1, Text)                       \
  X(CpuClockMethod, 0x1010, 1, Text)                        \
  X(CpuModelNumberSuffix, 0x1011, 1, Text)                  \
  X(CpuCoreRevision, 0x1012, 1, Text)                       \
  X(CpuCoreClock, 0x1020, 1, Text)                          \
  X(CpuBusClock, 0x1021, 1, Text)                           \
  X(CpuEffectiveBusClock, 0x1022, 1, Text)                  \
  X(CpuMultiplier, 0x1023, 1, Text)                         \
  X(CpuRatedClock, 0x1024, 1, Text)                         \
  X(CpuNominalBusClock, 0x1025, 1, Text)                    \
  X(CpuNominalEffectiveBusClock, 0x1026, 1, Text)           \
  X(CpuL2SpeedRatio, 0x1027, 1, Text)                       \
  X(CpuOverclockPercent, 0x1028, 1, Text)                   \
  X(CpuOriginalMultiplier, 0x1029, 1, Text)                 \
  X(CpuRemeasureCoreClock, 0x102A, 1, TextAction)           \
  X(CpuRereadMultiplier, 0x102B, 1, TextAction)             \
  X(CpuRemeasureCoreClockMode1, 0x102C, 4, TextAction)      \
  X(CpuProcessors, 0x1030, 1, Int)                          \
  X(CpuFamily, 0x1031, 1, TextAndInt)                       \
  X(CpuModel, 0x1032, 1, TextAndInt)                        \
  X(CpuStepping, 0x1033, 1, TextAndInt)                     \
  X(CpuExtendedFamily, 0x1034, 1, TextAndInt)               \
  X(CpuExtendedModel, 0x1035, 1, TextAndInt)                \
  X(CpuBrandId, 0x1036, 1, TextAndInt)                      \
  X(CpuLeaf1Edx, 0x1037, 1, Int)                            \
  X(CpuExtLeaf1Edx, 0x1038, 1, Int)                         \
  X(CpuL1InstructionKb, 0x1039, 1, Int)                     \
  X(CpuTraceCacheKuops, 0x103A, 1, Int)                     \
  X(CpuL1DataKb, 0x103B, 1, Int)                            \
  X(CpuL2Kb, 0x103C, 1, Int)                                \
  X(CpuL3Kb, 0x103D, 1, Int)                                \
  X(CpuLogicalPerCore, 0x103E, 1, Int)                      \
  X(CpuProcessorType, 0x103F, 1, Int)                       \
  X(CpuClockRegister1Low, 0x1040, 1, Int)                   \
  X(CpuClockRegister2Low, 0x1041, 1, Int)                   \
  X(CpuBusRateFactor, 0x1042, 1, Int)                       \
  X(CpuL1UnifiedKb, 0x1043, 1, Int)                         \
  X(CpuLeaf1Eax, 0x1044, 1, Int)                            \
  X(CpuExtLeaf1Eax, 0x1045, 1, Int)                         \
  X(CpuVendorCode, 0x1046, 1, Int)                          \
  X(CpuApicId, 0x1047, 1, TextAndInt)                       \
  X(CpuClockRegister1High, 0x1048, 1, Int)                  \
  X(CpuClockRegister2High, 0x1049, 1, Int)                  \
  X(CpuLeaf1Ecx, 0x104B, 1, Int)                            \
  X(CpuPlatformId, 0x104D, 1, Int)                          \
  X(CpuMicrocodeSignature, 0x104E, 1, Int)                  \
  X(CpuProcessorTypeAgain, 0x104F, 1, Int)                  \
  X(CpuMmx, 0x1050, 1, Int)                                 \
  X(CpuAmdMmx, 0x1051, 1, Int)                              \
  X(CpuSse, 0x1052, 1, Int)                                 \
  X(CpuSse2, 0x1053, 1, Int)                                \
  X(Cpu3DNow, 0x1054, 1, Int)                               \
  X(Cpu3DNowExt, 0x1055, 1, Int)                            \
  X(CpuHyperThreading, 0x1056, 1, Int)                      \
  X(CpuAmd64, 0x1057, 1, Int)                               \
  X(CpuLeaf1EdxBit30, 0x1058, 1, Int)                       \
  X(CpuSse3, 0x1059, 1, Int)                                \
  X(CpuSerialNumberPresent, 0x105A, 1, Int)                 \
  X(CpuSpeedStep, 0x105B, 1, Int)                           \
  X(CpuAmdFidVid, 0x105C, 1, Int)                           \
  X(CpuViaPowerControl, 0x105D, 1, Int)                     \
  X(CpuLongRun, 0x105E, 1, Int)                             \
  X(CpuEm64t, 0x105F, 1, Int)                               \
  X(TransmetaDescription, 0x1060, 1, Text)                  \
  X(TransmetaCurrentClock, 0x1061, 1, TextAndInt)           \
  X(TransmetaNominalClock, 0x1062, 1, TextAndInt)           \
  X(TransmetaCurrentVoltage, 0x1063, 1, TextAndInt)         \
  X(TransmetaLongRunLevel, 0x1064, 1, TextAndInt)           \
  X(TransmetaGateDelay, 0x1065, 1, TextAndInt)              \
  X(TransmetaHardwareVersion, 0x1066, 1, Text)              \
  X(TransmetaSoftwareVersion, 0x1067, 1, Text)              \
  X(TransmetaReread, 0x1068, 1, Action)                     \
  X(CentaurEdx, 0x1070, 1, Int)                             \
  X(TransmetaEdx, 0x1071, 1, Int)                           \
  X(CpuCacheDetail, 0x1080, 8, TextAndInt)                  \
  X(CpuNx, 0x1090, 1, Int)                                  \
  X(CpuMsr, 0x1091, 1, Int)                                 \
  X(CpuMultiCore, 0x1092, 1, Int)                           \
  X(CpuP4EnhancedSpeedStep, 0x1093, 1, Int)                 \
  X(CpuExtLeafFamily, 0x10A0, 1, TextAndInt)                \
  X(CpuExtLeafModel, 0x10A1, 1, TextAndInt)                 \
  X(CpuExtLeafStepping, 0x10A2, 1, TextAndInt)              \
  X(CpuExtLeaf1Ecx, 0x10A3, 1, Int)                         \
  X(CpuCoresPerPackage, 0x10B0, 1, Int)                     \
  X(CpuCombinedFamily, 0x10B1, 1, Text)                     \
  X(CpuCombinedModel, 0x10B2, 1, Text)                      \
  X(CpuExtLeafCombinedFamily, 0x10B3, 1, Text)              \
  X(CpuExtLeafCombinedModel, 0x10B4, 1, Text)               \
  X(CpuDieSize, 0x10C0, 1, Text)                            \
  X(CpuTransistors, 0x10C1, 1, Text)                        \
  X(CpuLeaf7Ebx, 0x10D0, 1, Int)                            \
  X(CpuLeaf7Ecx, 0x10D1, 1, Int)                            \
  X(CpuLeaf7Edx, 0x10D2, 1, Int)                            \
  X(CpuLeaf7Sub1Eax, 0x10D3, 1, Int)                        \
  X(CpuLeafDSub1Eax, 0x10D4, 1, Int)                        \
  X(CpuLeaf6Eax, 0x10D5, 1, Int)                            \
  X(CpuExtLeaf7Edx, 0x10D6, 1, Int)                         \
  X(CpuExtLeaf8Ebx, 0x10D7, 1, Int)                         \
  X(CpuSelectProcessor, 0x1100, 32, Action)                 \
  X(PowerRefresh, 0x1200, 1, Action)                        \
  X(PowerControlType, 0x1201, 1, Int)                       \
  X(PowerMultiplierMethod, 0x1202, 1, Int)                  \
  X(PowerClearScratch, 0x1203, 1, Command)                  \
  X(PowerCurrentFrequencyCode, 0x1211, 1, Int)              \
  X(PowerStartFrequencyCode, 0x1212, 1, Int)                \
  X(PowerMaximumFrequencyCode, 0x1213, 1, Int)              \
  X(PowerCurrentMultiplierText, 0x1214, 1, Text)            \
  X(PowerStartMultiplierText, 0x1215, 1, Text)              \
  X(PowerMaximumMultiplierText, 0x1216, 1, Text)            \
  X(PowerSetFrequencyCode, 0x1217, 1, Command)              \
  X(PowerSetPerformanceControl, 0x1218, 1, Command)         \
  X(PowerCurrentVoltageCode, 0x1221, 1, Int)                \
  X(PowerStartVoltageCode, 0x1222, 1, Int)                  \
  X(PowerMaximumVoltageCode, 0x1223, 1, Int)                \
  X(PowerCurrentVoltageText, 0x1224, 1, Text)               \
  X(PowerStartVoltageText, 0x1225, 1, Text)                 \
  X(PowerMaximumVoltageText, 0x1226, 1, Text)               \
  X(PowerSetVoltageCode, 0x1227, 1, Command)                \
  X(PowerAllowVoltageCode15, 0x1228, 1, Command)            \
  X(ChipsetName, 0x2001, 1, Text)                           \
  X(ChipsetBlockText, 0x2002, 12, Text)                     \
  X(ChipsetMissingNames, 0x2010, 1, Int)                    \
  X(ChipsetNorthIds, 0x2020, 5, Int)                        \
  X(ChipsetSouthIds, 0x2030, 5, Int)                        \
  X(ChipsetVideoIds, 0x2040, 5, Int)                        \
  X(PciDeviceCount, 0x5001, 1, Int)                         \
  X(PciVendor, 0x5100, kPerDeviceEntry, Int)                \
  X(PciDevice, 0x5200, kPerDeviceEntry, Int)                \
  X(PciRevision, 0x5300, kPerDeviceEntry, Int)              \
  X(PciSubsystem, 0x5400, kPerDeviceEntry, Int)             \
  X(PciClassCode, 0x5500, kPerDeviceEntry, Int)             \
  X(PciClassName, 0x5600, kPerDeviceEntry, Text)            \
  X(PciBus, 0x5700, kPerDeviceEntry, Int)                   \
  X(PciDeviceNumber, 0x5800, kPerDeviceEntry, Int)          \
  X(PciFunction, 0x5900, kPerDeviceEntry, Int)              \
  X(PciVendorName, 0x5A00, kPerDeviceEntry, Text)           \
  X(PciDeviceName, 0x5B00, kPerDeviceEntry, Text)           \
  X(PciSubsystemVendorName, 0x5C00, kPerDeviceEntry, Text)  \
  X(SmbiosFound, 0x6001, 1, Int)                            \
  X(SmbiosVersion, 0x6002, 1, Text)                         \
  X(SmbiosBiosVendor, 0x6100, 1, Text)                      \
  X(SmbiosBiosVersion, 0x6101, 1, Text)                     \
  X(SmbiosBiosDate, 0x6102, 1, Text)                        \
  X(SmbiosBiosRevision, 0x6103, 1, Text)                    \
  X(SmbiosBoardVendor, 0x6200, 1, Text)                     \
  X(SmbiosBoardProduct, 0x6201, 1, Text)                    \
  X(SmbiosBoardVersion, 0x6202, 1, Text)                    \
  X(SmbiosProcessorSocket, 0x6300, 1, Text)                 \
  X(SmbiosProcessorManufacturer, 0x6301, 1, Text)           \
  X(SmbiosProcessorVersion, 0x6302, 1, Text)                \
  X(SmbiosProcessorMaxSpeed, 0x6303, 1, Text)               \
  X(SmbiosProcessorCurrentSpeed, 0x6304, 1, Text)           \
  X(SmbiosProcessorExternalClock, 0x6305, 1, Text)
// clang-format on

namespace probe_id {
#define VELORA_PROBE_ID_CONSTANT(name, first, count, kind) \
  inline constexpr uint32_t k##name = first;
VELORA_PROBE_IDS(VELORA_PROBE_ID_CONSTANT)
#undef VELORA_PROBE_ID_CONSTANT
}  // namespace probe_id

struct ProbeIdRow {
  const char* name;
  uint32_t first;
  uint32_t count;  // kPerDeviceEntry: one id per PCI table entry
  ProbeIdKind kind;
  constexpr uint32_t Last() const { return first + (count == kPerDeviceEntry ? 0xFF : count - 1); }
};

inline constexpr ProbeIdRow kProbeIdTable[] = {
#define VELORA_PROBE_ID_ROW(name, first, count, kind) {#name, first, count, ProbeIdKind::kind},
    VELORA_PROBE_IDS(VELORA_PROBE_ID_ROW)
#undef VELORA_PROBE_ID_ROW
};

// Rows in id order without overlaps: the catalogue and the answers rely on both.
constexpr bool ProbeIdTableIsOrdered() {
  for (std::size_t i = 1; i < sizeof kProbeIdTable / sizeof kProbeIdTable[0]; ++i) {
    if (kProbeIdTable[i].first <= kProbeIdTable[i - 1].Last()) return false;
  }
  return true;
}
static_assert(ProbeIdTableIsOrdered(), "probe id rows must ascend without overlapping");

// The sub-objects' ranges, upper bound exclusive.
struct ProbeIdRange {
  uint32_t first;
  uint32_t end;
  constexpr bool Contains(uint32_t id) const { return id >= first && id < end; }
};

inline constexpr ProbeIdRange kCpuIds{0x1000, 0x1FFE};
inline constexpr ProbeIdRange kChipsetIds{0x2000, 0x2FFE};
inline constexpr ProbeIdRange kPciDeviceIds{0x5000, 0x5FFE};
inline constexpr ProbeIdRange kSmbiosIds{0x6000, 0x6FFE};
// Re-identify the processor on logical processor (id AND 31).
inline constexpr ProbeIdRange kSelectProcessorIds{probe_id::kCpuSelectProcessor,
                                                  probe_id::kCpuSelectProcessor + 32};

inline constexpr const char* kBuildNumberText = "275";
inline constexpr const char* kBuildDateText = "2005/10/10";
inline constexpr const char* kAuthorText = "Pellomar";

}  // namespace velora
