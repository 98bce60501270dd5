#include "ranking/machine_facts.h"

#include <cstdlib>

namespace velora {

CpuFacts CpuFactsOf(const CpuPageData& p) {
  CpuFacts f;
  f.cpuName = p.cpuName;
  f.codeName = p.codeName;
  f.platform = p.platform;
  f.cpuType = p.cpuType;
  f.clock = p.internalClockCurrent;
  f.clockOriginal = p.internalClockOriginal;
  f.systemClock = p.systemClockCurrent;
  f.systemClockOriginal = p.systemClockOriginal;
  f.systemBus = p.systemBusCurrent;
  f.systemBusOriginal = p.systemBusOriginal;
  f.multiplier = p.multiplierCurrent;
  f.multiplierOriginal = p.multiplierOriginal;
  f.overClock = p.overClock;
  f.dataRate = p.busRateName;
  f.vendorString = p.vendorString;
  f.nameString = p.nameString;
  f.apic = p.apic;
  f.brandId = p.brandId;
  f.family = p.family;
  f.exFamily = p.generation;
  f.familyEx = p.familyEx.empty() ? p.extendedFamilyEx : p.familyEx;
  f.model = p.model;
  f.exModel = p.extendedModel;
  f.stepping = p.stepping;
  f.exStepping = p.extendedStepping;
  f.cpuNumber = p.number;
  f.hyperThreadNum = p.htt;
  // The page's first cache line is whichever of the three the processor has.
  if (p.firstCacheLabel == "L1 I-Cache") f.l1i = p.firstCacheValue;
  if (p.firstCacheLabel == "L1 T-Cache") f.l1t = p.firstCacheValue;
  if (p.firstCacheLabel == "L1 Unified") f.l1u = p.firstCacheValue;
  f.l1d = p.l1Data;
  f.l2 = p.l2;
  f.l3 = p.l3;
  f.l2SpeedMhz = p.l2Clock;
  f.l2Speed = p.l2Speed;
  return f;
}

DeviceFacts DeviceFactsOf(const DevicePageData& device) {
  DeviceFacts facts;
  facts.chipSet = device.chipset;
  facts.north = device.north;
  facts.south = device.south;
  facts.ideController = device.ideController;
  facts.video = device.video;
  facts.directX = device.directX;
  facts.videoProduct = device.videoProduct;
  facts.videoVendor = device.videoVendor;
  facts.videoChip = device.videoChip;
  facts.videoRam = device.videoRam;
  facts.videoDriverVersion = device.driverVersion;
  facts.videoDriverDate = device.driverDate;
  facts.northVid = device.northVid;
  facts.northDid = device.northDid;
  facts.northRid = device.northRid;
  facts.southVid = device.southVid;
  facts.southDid = device.southDid;
  facts.southRid = device.southRid;
  facts.videoVid = device.videoVid;
  facts.videoDid = device.videoDid;
  facts.videoRid = device.videoRid;
  return facts;
}

SystemFacts SystemFactsOf(const SystemPageData& p, const std::string& kernelRelease) {
  SystemFacts f;
  f.osName = p.osName;
  f.osServicePack = p.servicePack;
  int32_t* parts[] = {&f.osVersionMajor, &f.osVersionMinor, &f.osVersionBuild};
  const char* at = kernelRelease.c_str();
  for (int32_t* part : parts) {
    char* end = nullptr;
    const long value = std::strtol(at, &end, 10);
    if (end == at) break;
    *part = static_cast<int32_t>(value);
    if (*end != '.') break;
    at = end + 1;
  }
  f.biosVendor = p.biosVendor;
  f.biosCaption = p.biosCaption;
  f.biosVersion = p.biosVersion;
  f.biosDate = p.biosDate;
  f.smbiosCaption = p.smbiosCaption;
  f.smbiosVersion = p.smbiosVersion;
  f.systemVendor = p.systemVendor;
  f.systemModel = p.systemModel;
  f.motherVendor = p.motherVendor;
  f.motherProduct = p.motherProduct;
  f.motherVersion = p.motherVersion;
  return f;
}

}  // namespace velora
