#pragma once
// The machine as typed values: numbers stay numbers with their unit in the name (bytes, MHz,
// ways), texts carry no padding, and a value nobody could read is absent (std::nullopt) rather
// than an empty text or -1. Built from what the collectors and the probe answered; the JSON of
// `velora info --json` is a view of it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/dll_page_data.h"
#include "info/feature_page_data.h"
#include "info/info_page_data.h"
#include "info/os_identity.h"
#include "info/pci_page_data.h"
#include "info/system_facts.h"
#include "info/system_page_data.h"
#include "platform/display_facts.h"

namespace velora {

template <typename T>
using Known = std::optional<T>;

struct CacheModel {
  std::string name;  // "L1 D-Cache"
  Known<int64_t> sizeBytes, ways, lineBytes;
};

struct CpuModel {
  std::string vendor, name, brand, codeName, platform, type;
  Known<double> processUm;  // the feature size, in micrometres
  Known<int64_t> family, model, stepping, extendedFamily, extendedModel;
  Known<double> clockMhz, clockOriginalMhz, systemClockMhz, systemClockOriginalMhz;
  Known<double> systemBusMhz, multiplier, multiplierOriginal;
  Known<int64_t> logicalProcessors;
  std::vector<std::pair<std::string, bool>> capabilities;  // the CPU page's sixteen labels
  std::vector<std::string> extensions;                     // "SSE4.2", "AVX2", ...
  std::vector<CacheModel> caches;
};

struct FeatureModel {
  std::string leaf;  // "Standard (EDX)"
  int bit = 0;
  std::string name, description;
  bool supported = false;
};

struct PciFunctionModel {
  Known<int64_t> bus, device, function, vendorId, deviceId, revision, classCode;
  Known<int64_t> subsystemVendorId, subsystemId;
  std::string type, vendor, name, subsystemVendor;
};

struct DiskModel {
  std::string model, serialNumber, firmware, interface, device, ataStandard, maximumMode,
      currentMode;
  Known<int64_t> sizeBytes, bufferBytes;
  bool needsPrivilege = false;
};

struct VolumeModel {
  std::string mountPoint, fileSystem, kind;
  Known<int64_t> totalBytes, availableBytes;
};

struct NetworkAdapterModel {
  std::string type, name, mac, ipv4, netmask, gateway, dhcpServer, link;
  std::vector<std::string> ipv6;
  Known<int64_t> mtu;
};

struct LibraryModel {
  std::string category, name, version, description;
};

struct MachineModel {
  // Which parts were collected; the others are left out of every view.
  bool hasSystem = false, hasCpu = false, hasFeatures = false, hasDevice = false, hasPci = false,
       hasDisks = false, hasLibraries = false, hasComponents = false;
  struct {
    std::string name, edition, version, kernel, installDate;
  } os;
  struct {
    std::string machineName, userName, homeDirectory, libraryDirectory;
    Known<int64_t> pageSizeBytes, minimumAddress, maximumAddress;
    Known<double> upTimeSeconds;
  } system;
  struct {
    Known<int64_t> totalBytes, availableBytes, commitLimitBytes, commitAvailableBytes,
        virtualTotalBytes, virtualAvailableBytes;
  } memory;
  struct {
    std::string vendor, caption, version, date, smbiosCaption, smbiosVersion;
  } bios;
  struct {
    std::string vendor, product, version, systemVendor, systemModel;
  } board;
  CpuModel cpu;
  std::vector<FeatureModel> features;
  struct {
    std::string chipset, northBridge, southBridge, ideController;
    std::string video, videoVendor, videoChip, videoProduct, videoDriverVersion, videoDriverDate;
    Known<int64_t> videoMemoryBytes;
    Known<int64_t> displayWidth, displayHeight, displayBitsPerPixel, displayRefreshHz;
    std::string fontSmoothing, openGlVersion, openGlRenderer, vulkanVersion;
    std::vector<NetworkAdapterModel> adapters;
  } device;
  std::vector<PciFunctionModel> pci;
  std::vector<DiskModel> disks;
  std::vector<VolumeModel> volumes;
  std::vector<LibraryModel> libraries;
  std::vector<ComponentVersion> components;
  // "cpu: the probe library could not be loaded: ..." and the like, one line per part.
  std::vector<std::string> unavailable;
};

// What the model is made of: the pages' data as collected, and the typed readings beside them.
struct MachineModelInputs {
  const OsIdentity* os = nullptr;
  const SystemPageData* system = nullptr;
  const FixedSystemFacts* facts = nullptr;
  const MemoryStatus* memory = nullptr;
  std::optional<double> upTimeSeconds;
  const CpuPageData* cpu = nullptr;
  const FeaturePageData* feature = nullptr;
  const DevicePageData* device = nullptr;
  std::optional<X11DisplayMode> display;
  const PciPageData* pci = nullptr;
  const DiskPageData* disk = nullptr;
  const std::vector<DllPageData>* libraries = nullptr;
  const InfoPageData* info = nullptr;
  std::vector<std::string> unavailable;
};

MachineModel BuildMachineModel(const MachineModelInputs& in);

// The model as one JSON document (see data/velora-info.schema.json), two-space indented.
std::string MachineModelJson(const MachineModel& model, const std::string& programVersion);

// Leading and trailing blanks, tabs and line ends removed.
std::string WithoutPadding(const std::string& text);

}  // namespace velora
