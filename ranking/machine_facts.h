#pragma once
// What the registration body and the form read of the inventory pages. The CPU and System pages
// fill their parts today; the Device page's facts and the disk models come through
// RankingInventorySource, which the Device and Disk pages implement once they exist.

#include <cstdint>
#include <string>
#include <vector>

#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/system_page_data.h"

namespace velora {

struct CpuFacts {
  std::string cpuName, codeName, platform, cpuType;
  std::string clock, clockOriginal, systemClock, systemClockOriginal;
  std::string systemBus, systemBusOriginal, multiplier, multiplierOriginal, overClock;
  std::string dataRate, vendorString, nameString;
  // Hexadecimal texts without prefix.
  std::string apic, brandId, family, exFamily, familyEx, model, exModel, stepping, exStepping;
  std::string cpuNumber, hyperThreadNum, l1i, l1t, l1u, l1d, l2, l3;
  std::string l2SpeedMhz, l2Speed;
};

struct SystemFacts {
  std::string osName, osServicePack;  // as the System page shows them
  int32_t osVersionMajor = -1, osVersionMinor = -1, osVersionBuild = -1, osType = -1;
  std::string biosVendor, biosCaption, biosVersion, biosDate, smbiosCaption, smbiosVersion;
  std::string systemVendor, systemModel, motherVendor, motherProduct, motherVersion;
};

struct DeviceFacts {
  // Names as the Device page shows them, with their leading blank.
  std::string chipSet, north, south, ideController, video, directX;
  std::string videoProduct, videoVendor, videoChip, videoRam, videoDriverVersion, videoDriverDate;
  // Decimal texts.
  std::string northVid, southVid, videoVid, northDid, southDid, videoDid;
  std::string northRid, southRid, videoRid;
};

// The Device page, the Disk page's drive models and what the inventory collector adds.
class RankingInventorySource {
 public:
  virtual ~RankingInventorySource() = default;
  virtual DeviceFacts ReadDeviceFacts() const = 0;
  // The Disk page's drive models, for every disk list of the form.
  virtual std::vector<std::string> ReadDiskModels() const = 0;
  // The collector's disk captions, for the form's disk list only; video memory in MB ("" unknown).
  virtual std::vector<std::string> ReadCollectorDiskCaptions() const = 0;
  virtual std::string ReadCollectorVideoMemory() const = 0;
};

// A machine whose Device and Disk pages are not there: every answer empty.
class NoInventoryDetails : public RankingInventorySource {
 public:
  DeviceFacts ReadDeviceFacts() const override { return {}; }
  std::vector<std::string> ReadDiskModels() const override { return {}; }
  std::vector<std::string> ReadCollectorDiskCaptions() const override { return {}; }
  std::string ReadCollectorVideoMemory() const override { return {}; }
};

CpuFacts CpuFactsOf(const CpuPageData& page);
DeviceFacts DeviceFactsOf(const DevicePageData& page);
// The version numbers from the kernel release ("6.1.0-28-amd64": 6, 1, 0); missing ones -1. The
// type stays -1: a Linux kernel has no platform id of the kind the ranking keeps.
SystemFacts SystemFactsOf(const SystemPageData& page, const std::string& kernelRelease);

}  // namespace velora
