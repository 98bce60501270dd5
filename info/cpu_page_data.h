#pragma once
// The CPU page as data: everything the probe answers about the selected logical processor, in
// the texts, conditions and formats the page shows, plus the operating-system line.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "info/os_identity.h"
#include "info/page_view.h"
#include "probe/probe_object.h"

namespace velora {

// The sixteen feature and power labels, in the page's order.
constexpr int kCpuLabelCount = 16;
extern const std::array<const char*, kCpuLabelCount> kCpuLabelNames;
// The labels by name, in that order.
enum CpuLabel : size_t {
  kCpuLabelMmx,
  kCpuLabelMmxExt,
  kCpuLabelSse,
  kCpuLabelSse2,
  kCpuLabelSse3,
  kCpuLabel3DNow,
  kCpuLabel3DNowExt,
  kCpuLabelHtt,
  kCpuLabelAmd64,
  kCpuLabelIa64,
  kCpuLabelEm64t,
  kCpuLabelNx,
  kCpuLabelSpeedStep,
  kCpuLabelPowerNow,
  kCpuLabelLongHaul,
  kCpuLabelLongRun,
};

struct CpuCacheRow {
  std::string cache;
  std::string detail;
  // The same as numbers; 0 where the probe gave none.
  int64_t sizeKb = 0, ways = 0, lineBytes = 0;
};

struct CpuPageData {
  std::string vendorString, cpuName, nameString, codeName, process, platform, platformId;
  std::string cpuType, processorTypeNumber, busRateName;
  std::string internalClockCurrent, internalClockOriginal;
  std::string systemClockCurrent, systemClockOriginal;
  std::string systemBusCurrent, systemBusOriginal;
  std::string multiplierCurrent, multiplierOriginal;
  std::string overClock;
  std::string number, microcodeId, brandId, apic, htt, architecture;
  // The "(Standard)" and "(Extended)" identification rows.
  std::string family, model, stepping, familyEx, modelEx;
  std::string generation, extendedModel, extendedStepping, extendedFamilyEx, extendedModelEx;
  std::array<bool, kCpuLabelCount> labels{};
  // The instruction-set extensions beyond the labels ("SSE4.2", "AVX2", "AVX-512", ...).
  std::vector<std::string> extensions;
  std::string memory;
  std::string firstCacheLabel = "L1 I-Cache", firstCacheUnit = "KB", firstCacheValue;
  std::string l1Data, l2, l3, l2Speed, l2Clock;
  std::vector<CpuCacheRow> cacheRows;
  std::string rawRegisters;
  std::string osLine;
  std::vector<std::string> processors;  // "CPU 1", "CPU 2", ...
  int selectedIndex = 0;
  bool noClock = false;
};

// Fills the page from an identified probe object; memoryBytes is the total physical memory.
CpuPageData BuildCpuPageData(ProbeObject& probe, int selectedIndex, const OsIdentity& os,
                             uint64_t memoryBytes);

// "<name> <edition> <service pack> [ <version> Build <build> ]", "Service Pack " as "SP".
std::string OsLine(const OsIdentity& os);

// The selector's item "CPU 3" back to its index 2; -1 for anything else.
int ProcessorIndexOfItem(const std::string& item);

PageView CpuPageView(const CpuPageData& page);

}  // namespace velora
