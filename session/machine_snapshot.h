#pragma once
// The machine as every view reads it: the pages' data collected once, with what the probe and
// the inventory collector answered. `velora info`, `velora report` and `velora mark --submit`
// take this; the window fills the same page data, page by page, through the same builders.

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
#include "info/inventory_collector.h"
#include "info/machine_model.h"
#include "info/os_identity.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"
#include "platform/display_facts.h"

namespace velora {

// The pages a caller wants; each is collected only when asked for.
enum MachinePage : uint32_t {
  kSystemPart = 1u << 0,
  kCpuPart = 1u << 1,
  kFeaturePart = 1u << 2,
  kDevicePart = 1u << 3,
  kPciPart = 1u << 4,
  kDiskPart = 1u << 5,
  kDllPart = 1u << 6,
  kInfoPart = 1u << 7,
  kAllParts = 0xFF,
};

struct MachineSnapshot {
  uint32_t parts = 0;  // what was collected
  OsIdentity os;
  uint64_t memoryBytes = 0;
  // The typed readings the pages format.
  MemoryStatus memory;
  FixedSystemFacts facts;
  double upTimeSeconds = -1;
  std::optional<X11DisplayMode> display;
  SystemPageData system;
  CpuPageData cpu;
  FeaturePageData feature;
  DevicePageData device;
  PciPageData pci;
  DiskPageData disk;
  std::vector<DllPageData> dll;  // one per category, in tab order
  InfoPageData info;
  InventoryFields inventory;
  GraphicsApiVersions graphics;
  std::string release;  // the probe library's build number, "" without it
  // Why the probe's pages are empty: the library could not be loaded.
  std::string probeProblem;
  // On a recording: the parts asked for that it does not hold ("cpu", "pci", "display", ...);
  // those parts are left out of `parts`.
  std::vector<std::string> notRecorded;
};

class MachineAccess;

// Collects the parts asked for on this machine. The library scan runs beside the clock
// measurement; the result is the same as one after another.
MachineSnapshot CollectMachine(uint32_t parts);
// The same from a recording, or from this machine through access.
MachineSnapshot CollectMachine(uint32_t parts, MachineAccess& access);

// The typed model of what was collected; parts not collected are left out.
MachineModel ModelOf(const MachineSnapshot& machine);

}  // namespace velora
