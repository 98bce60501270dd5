#pragma once
// The pages' data read one page at a time from the machine an access reads: the window fills
// each page as it is made, CollectMachine fills them all at once, through the same steps.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/settings.h"
#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/dll_page_data.h"
#include "info/inventory_collector.h"
#include "info/inventory_sources.h"
#include "info/inventory_sysfs.h"
#include "info/os_identity.h"
#include "info/system_facts.h"
#include "info/system_page_data.h"
#include "platform/cpuid_source.h"
#include "platform/display_facts.h"
#include "session/machine_access.h"
#include "session/machine_snapshot.h"

namespace velora {

// The pages of parts a recording can answer: without its processor or PCI dumps, or its disks,
// those pages are left out, and the installed libraries are always this machine's.
uint32_t RecordableParts(uint32_t parts, const MachineAccess& machine);
bool Recorded(MachinePage part, const MachineAccess& machine);

OsIdentity ReadOs(const MachineAccess& machine);
MemoryStatus ReadMemory(const MachineAccess& machine);

// The System page: what is read once, and what every tick reads again.
void ReadSystemPageOnce(SystemPageData& page, const MachineAccess& machine);
void RefreshSystemPage(SystemPageData& page, const MachineAccess& machine);

// The CPU page of one processor, as the probe identified it.
CpuPageData ReadCpuPage(ProbeObject& probe, int processor, const MachineAccess& machine);

// The graphics driver's versions: this machine's only, nothing on a recording. The driver keeps
// per-thread state, so this runs on the thread that started first, before others come and go.
GraphicsApiVersions ReadGraphics(const MachineAccess& machine);
// The Device page without the display mode and the collector's fields: the probe's chipset
// and video, the desktop's font smoothing (this machine only), the graphics and the adapters.
DevicePageData ReadDevicePage(ProbeObject* probe, const MachineAccess& machine,
                              const GraphicsApiVersions& graphics);

// The Disk page: the drives identified first (the collector leaves those out). On a recording
// without its file tree, the recorded blocks as they are.
DiskPageData ReadDiskPage(MachineAccess& machine, bool safeMode,
                          std::function<void(const std::string&)> log = {});

// The DLL page's categories, in tab order, from the installed libraries.
std::vector<DllPageData> ReadDllPages();
// How the DLL page reads a library's version: the installed copy's here; on a recording, which
// cannot say, "not recorded" in the language shown.
LibraryVersionReader LibraryVersionsOf(const MachineAccess& machine);

// The inventory collector's sources: the machine's files, and on a recording of the SMBIOS
// tables the firmware's facts from them. The machine outlives them.
std::unique_ptr<InventorySources> InventorySourcesOf(MachineAccess& machine,
                                                     SysfsInventoryOptions options);
InventoryRequest InventoryRequestOf(const Settings& settings, uint32_t startFlags,
                                    std::vector<std::string> identifiedModels);

// The CPUID a report dumps: the recording's, or this machine's.
std::unique_ptr<CpuidSource> ReportCpuidOf(const MachineAccess& machine);

}  // namespace velora
