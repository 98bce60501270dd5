#include "probe/cpu/cpu_naming_rows.h"

#include <string>

namespace velora {

const NamingRow* FindNamingRow(std::span<const NamingRow> rows, const CpuFields& f) {
  for (const NamingRow& row : rows) {
    if (row.family != kAnyFamily && row.family != f.family) continue;
    if (f.model < row.modelLow || f.model > row.modelHigh) continue;
    if (row.when != nullptr && !row.when(f)) continue;
    return &row;
  }
  return nullptr;
}

namespace {

std::string PlatformFromId(int32_t platformId) {
  if (platformId == 2 || platformId == 3) return "Socket 478";
  if (platformId == 4) return "LGA775";
  return "Socket 478/LGA775";
}

}  // namespace

void ApplyNamingRow(const NamingRow& row, CpuFields& f) {
  f.nameWithCodeName = std::string(row.name);
  f.platform = row.platform.empty() && (row.flags & kPlatformById) != 0
                   ? PlatformFromId(f.platformId)
                   : std::string(row.platform);
  f.process = std::string(row.process);
  if (row.method != 0) f.multiplierMethod = row.method;
  if (row.power != 0) f.powerControlType = row.power;
  if (row.l1Instruction != 0) f.l1Instruction = row.l1Instruction;
  if (row.l1Data != 0) f.l1Data = row.l1Data;
  if (row.l1Unified != 0) f.l1Unified = row.l1Unified;

  if ((row.flags & kHalfSpeedL2) != 0) f.l2HalfSpeed = 1;
  if ((row.flags & kWarmUp) != 0) f.warmUpNeeded = 1;
  if ((row.flags & kNoDynamicClock) != 0) {
    f.warmUpNeeded = 0;
    f.longRun = 0;
  }
  if ((row.flags & kSempronFlag) != 0) f.sempron = 1;
  if ((row.flags & kViaShortName) != 0) f.vendorShortName = "VIA";
  if ((row.flags & kPentiumXeCores) != 0) {
    f.hyperThreading = 1;
    f.coresPerPackage = 2;
    f.logicalPerCore = 2;
    f.multiCore = 1;
  }
  if ((row.flags & kPentiumDCores) != 0) {
    f.logicalPerCore = 0;
    f.hyperThreading = 0;
    f.coresPerPackage = 2;
    f.multiCore = 1;
  }
}

void NameUnknown(CpuFields& f) {
  f.nameWithCodeName = "Unknown CPU";
  f.platform.clear();
  f.process.clear();
}

}  // namespace velora
