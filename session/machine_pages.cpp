#include "session/machine_pages.h"

#include <ctime>
#include <optional>

#include "core/font_smoothing.h"
#include "core/main_window_model.h"
#include "core/ui_language.h"
#include "info/ata_identify.h"
#include "info/disk_identification.h"
#include "info/inventory_sysfs.h"
#include "info/network_adapters.h"
#include "info/nvme_identify.h"
#include "info/smbios_inventory.h"
#include "platform/linux/linux_cpuid_source.h"
#include "platform/program_folder.h"
#include "platform/replay/replay_cpuid_source.h"

namespace velora {

namespace {

// Blocks given without the machine's list of disks, one row each as they are.
DiskPageData RecordedBlocksOnly(const DiskRecording& disks) {
  std::vector<DiskRow> rows;
  for (const auto& [name, block] : disks.ata) rows.push_back(AtaDiskRow(WordsOfBlock(block), name));
  for (const auto& [name, nvme] : disks.nvme) {
    DiskRow row;
    row.identity = DecodeNvmeIdentify(nvme.controller, nvme.nameSpace.value_or(NvmeIdentifyData{}));
    row.interfaceText = "NVMe";
    row.deviceName = name;
    row.source = DiskRowSource::kNvmeIdentify;
    rows.push_back(std::move(row));
  }
  return MakeDiskPageData(rows, {});
}

// A recorded machine's sources: its files, and the firmware's facts from its tables when they
// were recorded. The install date is left out: the files' times are those of the copy.
class RecordedInventorySources : public InventorySources {
 public:
  RecordedInventorySources(SysfsInventoryOptions options, const std::optional<SmbiosRecording>& tables)
      : files_(std::move(options)) {
    if (tables) tables_.emplace(files_, *tables);
  }

  std::vector<DiskObject> Disks() override { return Chosen().Disks(); }
  std::optional<BiosObject> Bios() override { return Chosen().Bios(); }
  std::optional<ComputerSystemObject> ComputerSystem() override { return Chosen().ComputerSystem(); }
  std::optional<BaseBoardObject> BaseBoard() override { return Chosen().BaseBoard(); }
  std::optional<OperatingSystemObject> OperatingSystem() override { return std::nullopt; }
  std::optional<StorageControllerObject> StorageController() override {
    return Chosen().StorageController();
  }
  std::optional<VideoControllerObject> VideoController() override {
    return Chosen().VideoController();
  }

 private:
  InventorySources& Chosen() {
    return tables_ ? static_cast<InventorySources&>(*tables_) : files_;
  }

  SysfsInventorySources files_;
  std::optional<SmbiosInventorySources> tables_;
};

class ThisMachineCpuid : public CpuidSource {
 public:
  bool Available() override { return ProcessCpuidSource().Available(); }
  CpuidRegisters Query(uint32_t leaf, uint32_t subLeaf) override {
    return ProcessCpuidSource().Query(leaf, subLeaf);
  }
  bool PinThread(uint32_t mask) override { return ProcessCpuidSource().PinThread(mask); }
  void RestoreThread() override { ProcessCpuidSource().RestoreThread(); }
};

}  // namespace

uint32_t RecordableParts(uint32_t parts, const MachineAccess& machine) {
  if (!machine.replaying()) return parts;
  if (!machine.Has(RecordedPart::kCpuid)) parts &= ~(kCpuPart | kFeaturePart);
  if (!machine.Has(RecordedPart::kPci)) parts &= ~kPciPart;
  if (!machine.Has(RecordedPart::kDisks) && !machine.Has(RecordedPart::kFiles)) parts &= ~kDiskPart;
  return parts & ~kDllPart;
}

bool Recorded(MachinePage part, const MachineAccess& machine) {
  return (RecordableParts(part, machine) & part) != 0;
}

OsIdentity ReadOs(const MachineAccess& machine) { return IdentifyOperatingSystem(machine.root()); }

MemoryStatus ReadMemory(const MachineAccess& machine) { return ReadMemoryStatus(machine.root()); }

void ReadSystemPageOnce(SystemPageData& page, const MachineAccess& machine) {
  FillSystemPageOnce(page, ReadOs(machine), ReadFixedSystemFacts(machine.root()));
}

void RefreshSystemPage(SystemPageData& page, const MachineAccess& machine) {
  RefreshSystemPageLive(page, ReadMemory(machine), std::time(nullptr),
                        ReadUpTimeSeconds(machine.root()));
}

CpuPageData ReadCpuPage(ProbeObject& probe, int processor, const MachineAccess& machine) {
  return BuildCpuPageData(probe, processor, ReadOs(machine), ReadMemory(machine).physicalTotal);
}

GraphicsApiVersions ReadGraphics(const MachineAccess& machine) {
  return machine.replaying() ? GraphicsApiVersions{} : ReadGraphicsApiVersions();
}

DevicePageData ReadDevicePage(ProbeObject* probe, const MachineAccess& machine,
                              const GraphicsApiVersions& graphics) {
  DevicePageData device;
  FillDevicePageFromProbe(device, probe);
  // The desktop's settings are this machine's, never a recording's.
  if (!machine.replaying()) device.fontSmoothing = FontSmoothingName(fontSmoothingType());
  device.openGlVersion = graphics.openGlVersion;
  device.openGlRenderer = graphics.openGlRenderer;
  device.vulkanVersion = graphics.vulkanVersion;
  if (machine.replaying()) {
    NetworkReadings readings;
    readings.root = machine.root();
    readings.programFolder = ProgramFolder();
    SetAdapters(device, ReadNetworkAdapters(readings));
  } else {
    SetAdapters(device, ReadNetworkAdapters(ProgramFolder()));
  }
  return device;
}

DiskPageData ReadDiskPage(MachineAccess& machine, bool safeMode,
                          std::function<void(const std::string&)> log) {
  const Recording* recording = machine.recording();
  if (recording != nullptr && !machine.Has(RecordedPart::kFiles) && recording->disks)
    return RecordedBlocksOnly(*recording->disks);
  DiskPageSources sources(machine.disks());
  sources.safeMode = safeMode;
  sources.root = machine.root();
  sources.log = std::move(log);
  // The free space of a recorded drive was not recorded; this machine's must not stand in.
  if (machine.replaying()) sources.space = [](const std::string&, DriveSpace&) { return false; };
  return ReadDiskPageData(sources);
}

std::vector<DllPageData> ReadDllPages() {
  std::vector<DllPageData> categories;
  for (int category = 0; category < kDllCategoryCount; ++category) {
    DllPageData dll;
    FillDllCategory(dll, category, InstalledLibraryVersion);
    categories.push_back(std::move(dll));
  }
  return categories;
}

LibraryVersionReader LibraryVersionsOf(const MachineAccess& machine) {
  if (Recorded(kDllPart, machine)) return InstalledLibraryVersion;
  return [](const std::string&) {
    return std::string(CaptionFor(kNotRecordedCaption, UiLanguage.load()));
  };
}

std::unique_ptr<InventorySources> InventorySourcesOf(MachineAccess& machine,
                                                     SysfsInventoryOptions options) {
  options.root = machine.root();
  // A recording of the tables answers the firmware's facts from them, as the kernel would have.
  if (const Recording* recording = machine.recording())
    return std::make_unique<RecordedInventorySources>(std::move(options), recording->smbios);
  return std::make_unique<SysfsInventorySources>(std::move(options));
}

InventoryRequest InventoryRequestOf(const Settings& settings, uint32_t startFlags,
                                    std::vector<std::string> identifiedModels) {
  InventoryRequest request;
  request.disabled = ReadInventorySwitches(settings);
  request.startFlags = startFlags;
  request.identifiedModels = std::move(identifiedModels);
  return request;
}

std::unique_ptr<CpuidSource> ReportCpuidOf(const MachineAccess& machine) {
  const Recording* recording = machine.recording();
  if (recording == nullptr) return std::make_unique<ThisMachineCpuid>();
  return std::make_unique<ReplayCpuidSource>(recording->cpuid.value_or(CpuidRecording{}));
}

}  // namespace velora
