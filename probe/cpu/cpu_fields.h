#pragma once
// Everything one identification knows about the processor. A default-constructed record holds
// the reset values every identification starts from.

#include <array>
#include <cstdint>
#include <string>

namespace velora {

enum VendorCode : int32_t {
  kVendorUnknown = 0,
  kVendorIntel = 1,
  kVendorAmd = 2,
  kVendorTransmeta = 3,
  kVendorCyrix = 4,
  kVendorIdt = 5,
  kVendorUmc = 7,
  kVendorRise = 8,
  kVendorNexGen = 9,
  kVendorCompaq = 10,
  kVendorNsc = 11,
  // Vendors after the classic ones: Hygon (Zen licensees) and Zhaoxin when it reports its own
  // vendor string rather than Centaur's.
  kVendorHygon = 12,
  kVendorZhaoxin = 13,
};

// Order of the cache detail integers and texts.
enum CacheDetail : int {
  kL1InstructionWays = 0,
  kL1InstructionLine,
  kL1DataWays,
  kL1DataLine,
  kL2Ways,
  kL2Line,
  kL3Ways,
  kL3Line,
  kCacheDetailCount
};

struct CpuFields {
  // Flags.
  int32_t multiprocessor = 0;
  int32_t sempron = 0;
  int32_t warmUpNeeded = 0;
  int32_t l2HalfSpeed = 0;
  int32_t powerControlCapable = 0;
  int32_t voltageTableA = 0;

  int32_t waitTimeMs = 1000;

  int32_t cpuidAvailable = 0;
  int32_t timeStampCounter = 0;
  int32_t msrPresent = 0;

  int32_t vendorCode = kVendorUnknown;
  int32_t multiplierMethod = 0;
  uint32_t highestStandardLeaf = 0;
  uint32_t highestExtendedLeaf = 0;

  // Clock registers, low and high halves.
  uint32_t clockRegister1Low = 0, clockRegister1High = 0;
  uint32_t clockRegister2Low = 0, clockRegister2High = 0;
  // AMD: core performance boost (CPUID 0x80000007 EDX bit 9); and, read from the northbridge
  // with the clock registers, family 0x12's CpuFid offset and family 0x14's main PLL in MHz
  // (-1 unknown).
  int32_t corePerformanceBoost = 0;
  int32_t amdLlanoFidOffset = -1;
  double amdMainPllMhz = -1.0;

  uint32_t selectionMask = 0;

  // Texts.
  std::string nameWithCodeName;
  std::string busRateName;
  std::string vendorString;
  std::string vendorShortName;
  std::string brandString;
  std::string platform;
  std::string processorTypeText;
  std::string familyModelStepping;
  std::string l2SpeedRatioText;
  std::string name;
  std::string codeName;
  std::string vendorPlusName;
  std::string process;
  std::string serialNumber;
  std::string architecture;
  std::string clockMethod;
  std::string modelNumberSuffix;
  std::string coreRevision;

  // Clocks in MHz and other measured or tabled numbers.
  double coreClock = -1.0;
  double busClock = -1.0;
  double effectiveBusClock = -1.0;
  double multiplier = -1.0;
  double ratedClock = -1.0;
  double nominalBusClock = -1.0;
  double nominalEffectiveBusClock = -1.0;
  double l2SpeedRatio = -1.0;
  double overclockPercent = -100.0;
  double originalMultiplier = -1.0;
  double dieSize = -1.0;
  double transistors = -1.0;
  // Which row of the nominal bus table the registers chose (0 to 7), -1 before any did.
  int32_t nominalBusIndex = -1;

  // Identification group.
  int32_t processors = 1;
  int32_t family = -1;
  int32_t model = -1;
  int32_t stepping = -1;
  int32_t extendedFamily = -1;
  int32_t extendedModel = -1;
  int32_t combinedFamily = -1;
  int32_t combinedModel = -1;
  int32_t extLeafFamily = -1;
  int32_t extLeafModel = -1;
  int32_t extLeafStepping = -1;
  int32_t extLeafCombinedFamily = -1;
  int32_t extLeafCombinedModel = -1;
  int32_t brandId = 0;
  int32_t brandNumber = 0;
  int32_t apicId = -1;

  // Caches in KB (trace cache in thousands of micro-operations).
  int32_t l1Instruction = -1;
  int32_t traceCache = -1;
  int32_t l1Unified = -1;
  int32_t l1Data = -1;
  int32_t l2 = -1;
  int32_t l3 = -1;
  int32_t logicalPerCore = -1;
  int32_t coresPerPackage = 1;
  int32_t processorType = -1;
  int32_t busRateFactor = -1;
  int32_t platformId = -1;
  int32_t microcodeSignature = -1;

  std::array<std::string, kCacheDetailCount> cacheDetailText{};
  std::array<int32_t, kCacheDetailCount> cacheDetail{-1, -1, -1, -1, -1, -1, -1, -1};

  // Raw registers.
  uint32_t leaf1Edx = 0;
  uint32_t leaf1Ecx = 0;
  uint32_t extLeaf1Edx = 0;
  uint32_t extLeaf1Ecx = 0;
  uint32_t centaurEdx = 0;
  uint32_t transmetaEdx = 0;
  uint32_t extLeaf1Ebx = 0;
  uint32_t leaf1Ebx = 0;
  uint32_t leaf1Eax = 0;
  uint32_t extLeaf1Eax = 0;
  // Structured extended features (leaf 7 sub-leaf 0), kept for the feature pages.
  uint32_t leaf7Ebx = 0;
  uint32_t leaf7Ecx = 0;
  uint32_t leaf7Edx = 0;
  // The other flag registers the Feature page lists: leaf 7 sub-leaf 1 EAX, leaf 0xD sub-leaf 1
  // EAX (XSAVE variants), leaf 6 EAX (thermal and power), 0x80000007 EDX and 0x80000008 EBX.
  uint32_t leaf7Sub1Eax = 0;
  uint32_t leafDSub1Eax = 0;
  uint32_t leaf6Eax = 0;
  uint32_t extLeaf7Edx = 0;
  uint32_t extLeaf8Ebx = 0;

  // Feature booleans.
  int32_t mmx = 0;
  int32_t amdMmx = 0;
  int32_t sse = 0;
  int32_t sse2 = 0;
  int32_t sse3 = 0;
  int32_t threeDNow = 0;
  int32_t threeDNowExt = 0;
  int32_t hyperThreading = 0;
  int32_t amd64 = 0;
  int32_t leaf1EdxBit30 = 0;
  int32_t em64t = 0;
  int32_t nx = 0;
  int32_t msr = 0;
  int32_t multiCore = 0;

  // Power management.
  int32_t speedStep = 0;
  int32_t p4EnhancedSpeedStep = 0;
  int32_t amdFidVid = 0;
  int32_t viaPowerControl = 0;
  int32_t longRun = 0;
  int32_t serialNumberPresent = 0;

  // Transmeta block.
  std::string transmetaDescription;
  int32_t transmetaCurrentClock = -1;
  int32_t transmetaNominalClock = -1;
  int32_t transmetaCurrentVoltage = -1;
  int32_t transmetaLongRunLevel = -1;
  int32_t transmetaGateDelay = -1;
  std::string transmetaHardwareVersion;
  std::string transmetaSoftwareVersion;

  // Power-state block: all zero and empty after every identification.
  int32_t powerControlType = 0;
  int32_t currentFrequencyCode = 0, startFrequencyCode = 0, maximumFrequencyCode = 0;
  int32_t currentVoltageCode = 0, startVoltageCode = 0, maximumVoltageCode = 0;
  std::string currentMultiplierText, startMultiplierText, maximumMultiplierText;
  std::string currentVoltageText, startVoltageText, maximumVoltageText;
};

}  // namespace velora
