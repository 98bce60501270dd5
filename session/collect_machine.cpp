#include <ctime>
#include <future>

#include "bench/linked_bench_engine.h"
#include "core/font_smoothing.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "info/inventory_sysfs.h"
#include "info/network_adapters.h"
#include "platform/linux/linux_disk_commands.h"
#include "platform/program_folder.h"
#include "probe/probe_id_table.h"
#include "session/machine_snapshot.h"

namespace velora {

namespace {

// Without a window the collector runs on the calling thread and its last snapshot is the result.
class SynchronousInventoryHost : public InventoryHost {
 public:
  void BeginCollecting(const std::string&) override {}
  void Publish(const InventoryFields& fields) override { fields_ = fields; }
  void EndCollecting() override {}
  const InventoryFields& fields() const { return fields_; }

 private:
  InventoryFields fields_;
};

InventoryFields CollectInventoryNow(const std::string& openGlRenderer,
                                    const std::vector<std::string>& identifiedModels) {
  SynchronousInventoryHost host;
  if ((startupFlags() & kNoWmi) != 0) return host.fields();
  SysfsInventoryOptions options;
  options.programFolder = ProgramFolder();
  options.openGlRenderer = openGlRenderer;
  SysfsInventorySources sources(options);
  InventoryRequest request;
  request.disabled = ReadInventorySwitches(ProgramSettings());
  request.startFlags = startupFlags();
  request.identifiedModels = identifiedModels;
  CollectInventory(sources, request, host, [](const std::string&) {});
  return host.fields();
}

DevicePageData ReadDevicePage(ProbeObject& probe, const GraphicsApiVersions& graphics,
                              const InventoryFields& inventory,
                              const std::optional<X11DisplayMode>& mode) {
  DevicePageData device;
  FillDevicePageFromProbe(device, &probe);
  device.fontSmoothing = FontSmoothingName(fontSmoothingType());
  if (mode) {
    device.displayMode =
        DisplayModeText(mode->width, mode->height, mode->bitsPerPixel, mode->refreshRate);
  }
  device.openGlVersion = graphics.openGlVersion;
  device.openGlRenderer = graphics.openGlRenderer;
  device.vulkanVersion = graphics.vulkanVersion;
  SetAdapters(device, ReadNetworkAdapters(ProgramFolder()));
  ApplyInventoryToDevicePage(device, inventory);
  return device;
}

std::vector<DllPageData> ScanLibraries() {
  std::vector<DllPageData> categories;
  for (int category = 0; category < kDllCategoryCount; ++category) {
    DllPageData dll;
    FillDllCategory(dll, category, InstalledLibraryVersion);
    categories.push_back(std::move(dll));
  }
  return categories;
}

}  // namespace

MachineSnapshot CollectMachine(uint32_t parts) {
  MachineSnapshot m;
  m.parts = parts;
  m.os = IdentifyOperatingSystem();
  m.memory = ReadMemoryStatus();
  m.memoryBytes = m.memory.physicalTotal;
  m.facts = ReadFixedSystemFacts();
  m.upTimeSeconds = ReadUpTimeSeconds();
  // The slow, independent reads start first and run beside the probe's clock measurement.
  // First, on this thread and before any other starts: the OpenGL driver keeps per-thread state
  // that it leaves behind when other threads come and go around it.
  if ((parts & kDevicePart) != 0) m.graphics = ReadGraphicsApiVersions();
  std::future<std::vector<DllPageData>> libraries;
  if ((parts & kDllPart) != 0) libraries = std::async(std::launch::async, ScanLibraries);

  // As in the window: the disks are identified first, and the inventory leaves those out.
  const bool collects = (parts & (kSystemPart | kDevicePart)) != 0;
  if ((parts & kDiskPart) != 0 || collects) {
    LinuxDiskCommands commands;
    DiskPageSources sources(commands);
    sources.safeMode = (startupFlags() & kSafeMode) != 0;
    m.disk = ReadDiskPageData(sources);
  }

  ProbeBinding binding(ProgramFolder());
  ProbeObject* probe = nullptr;
  if ((parts & (kCpuPart | kFeaturePart | kDevicePart | kPciPart | kInfoPart)) != 0) {
    const uint32_t flags = ((parts & (kCpuPart | kFeaturePart)) != 0 ? kCreateCpuProbe : 0) |
                           ((parts & (kPciPart | kDevicePart)) != 0 ? kCreatePciProbe : 0);
    if (binding.Load(flags) && binding.probe() != nullptr) {
      probe = binding.probe();
      char release[kProbeTextCapacity] = "";
      probe->GetString(probe_id::kBuildNumber, release);
      m.release = release;
    } else {
      m.probeProblem = binding.MissingMessage();
    }
  }
  if (probe != nullptr) {
    if ((parts & kCpuPart) != 0) m.cpu = BuildCpuPageData(*probe, 0, m.os, m.memoryBytes);
    if ((parts & kFeaturePart) != 0) m.feature = ReadFeaturePageData(*probe);
    if ((parts & kPciPart) != 0) m.pci = ReadPciPageData(*probe);
  }


  if (collects)
    m.inventory = CollectInventoryNow(m.graphics.openGlRenderer, m.disk.identifiedModels);
  if ((parts & kSystemPart) != 0) {
    FillSystemPageOnce(m.system, m.os, m.facts);
    RefreshSystemPageLive(m.system, m.memory, std::time(nullptr), m.upTimeSeconds);
    ApplyInventoryToSystemPage(m.system, m.inventory);
  }
  if (probe != nullptr) {
    if ((parts & kDevicePart) != 0) {
      m.display = ReadX11DisplayMode();
      m.device = ReadDevicePage(*probe, m.graphics, m.inventory, m.display);
    }
    if ((parts & kInfoPart) != 0) {
      const EngineInfo engine = LinkedBenchEngine().Info();
      m.info.versions = ComponentVersions(probe, engine.version, engine.date);
    }
  }
  binding.Release();
  if (libraries.valid()) m.dll = libraries.get();
  return m;
}

MachineModel ModelOf(const MachineSnapshot& m) {
  MachineModelInputs in;
  in.os = &m.os;
  in.memory = &m.memory;
  in.facts = &m.facts;
  if (m.upTimeSeconds >= 0) in.upTimeSeconds = m.upTimeSeconds;
  in.display = m.display;
  const bool probed = m.probeProblem.empty();
  if ((m.parts & kSystemPart) != 0) in.system = &m.system;
  if ((m.parts & kCpuPart) != 0 && probed) in.cpu = &m.cpu;
  if ((m.parts & kFeaturePart) != 0 && probed) in.feature = &m.feature;
  if ((m.parts & kDevicePart) != 0 && probed) in.device = &m.device;
  if ((m.parts & kPciPart) != 0 && probed) in.pci = &m.pci;
  if ((m.parts & kDiskPart) != 0) in.disk = &m.disk;
  if ((m.parts & kDllPart) != 0) in.libraries = &m.dll;
  if ((m.parts & kInfoPart) != 0 && probed) in.info = &m.info;
  if (!probed) in.unavailable.push_back("probe: " + m.probeProblem);
  return BuildMachineModel(in);
}

}  // namespace velora
