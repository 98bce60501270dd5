#include <ctime>
#include <future>

#include "bench/linked_bench_engine.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "info/inventory_sysfs.h"
#include "platform/program_folder.h"
#include "probe/probe_id_table.h"
#include "session/machine_access.h"
#include "session/machine_pages.h"
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

InventoryFields CollectInventoryNow(MachineAccess& access, const std::string& openGlRenderer,
                                    const std::vector<std::string>& identifiedModels) {
  SynchronousInventoryHost host;
  if ((startupFlags() & kNoWmi) != 0) return host.fields();
  SysfsInventoryOptions options;
  options.programFolder = ProgramFolder();
  options.openGlRenderer = openGlRenderer;
  const std::unique_ptr<InventorySources> sources = InventorySourcesOf(access, options);
  CollectInventory(*sources, InventoryRequestOf(ProgramSettings(), startupFlags(), identifiedModels),
                   host, [](const std::string&) {});
  return host.fields();
}

void NoteNotRecorded(MachineSnapshot& m, const MachineAccess& access, uint32_t asked) {
  const uint32_t kept = RecordableParts(asked, access);
  const std::pair<MachinePage, const char*> pages[] = {
      {kCpuPart, "cpu"}, {kFeaturePart, "feature"}, {kPciPart, "pci"},
      {kDiskPart, "disk"}, {kDllPart, "dll"}};
  for (const auto& [page, name] : pages) {
    if ((asked & page) != 0 && (kept & page) == 0) m.notRecorded.push_back(name);
  }
  if ((asked & kDevicePart) != 0) {
    m.notRecorded.push_back("display");
    m.notRecorded.push_back("graphics");
  }
  if ((asked & (kSystemPart | kDevicePart)) != 0 && !access.Has(RecordedPart::kFiles))
    m.notRecorded.push_back("files");
}

}  // namespace

MachineSnapshot CollectMachine(uint32_t parts) {
  MachineAccess here;
  return CollectMachine(parts, here);
}

MachineSnapshot CollectMachine(uint32_t parts, MachineAccess& access) {
  MachineSnapshot m;
  m.parts = parts;
  const std::string& root = access.root();
  const bool live = !access.replaying();
  if (!live) {
    NoteNotRecorded(m, access, parts);
    // What only this machine can answer (its display, its graphics driver, its installed
    // libraries) is left out rather than shown as the recording's.
    parts = RecordableParts(parts, access);
    m.parts = parts;
  }
  m.os = ReadOs(access);
  m.memory = ReadMemory(access);
  m.memoryBytes = m.memory.physicalTotal;
  m.facts = ReadFixedSystemFacts(root);
  m.upTimeSeconds = ReadUpTimeSeconds(root);
  // The slow, independent reads start first and run beside the probe's clock measurement.
  // First, on this thread and before any other starts: the OpenGL driver keeps per-thread state
  // that it leaves behind when other threads come and go around it.
  if ((parts & kDevicePart) != 0) m.graphics = ReadGraphics(access);
  std::future<std::vector<DllPageData>> libraries;
  if ((parts & kDllPart) != 0) libraries = std::async(std::launch::async, ReadDllPages);

  // The probe measures the clock while it is made (half a second of waiting); the disks, the
  // inventory and the library scan run meanwhile. Its object is used only after the join.
  ProbeBinding binding(ProgramFolder());
  access.Bind(binding);
  std::future<bool> probeLoaded;
  if ((parts & (kCpuPart | kFeaturePart | kDevicePart | kPciPart | kInfoPart)) != 0) {
    const uint32_t flags = ((parts & (kCpuPart | kFeaturePart)) != 0 ? kCreateCpuProbe : 0) |
                           ((parts & (kPciPart | kDevicePart)) != 0 ? kCreatePciProbe : 0);
    probeLoaded = std::async(std::launch::async, [&binding, flags] {
      return binding.Load(flags) && binding.probe() != nullptr;
    });
  }

  // As in the window: the disks are identified first, and the inventory leaves those out.
  const bool collects = (parts & (kSystemPart | kDevicePart)) != 0;
  if ((parts & kDiskPart) != 0 || collects)
    m.disk = ReadDiskPage(access, (startupFlags() & kSafeMode) != 0);
  if (collects)
    m.inventory = CollectInventoryNow(access, m.graphics.openGlRenderer, m.disk.identifiedModels);

  ProbeObject* probe = nullptr;
  if (probeLoaded.valid()) {
    if (probeLoaded.get()) {
      probe = binding.probe();
      char release[kProbeTextCapacity] = "";
      probe->GetString(probe_id::kBuildNumber, release);
      m.release = release;
    } else {
      m.probeProblem = binding.MissingMessage();
    }
  }
  if (probe != nullptr) {
    if ((parts & kCpuPart) != 0) m.cpu = ReadCpuPage(*probe, 0, access);
    if ((parts & kFeaturePart) != 0) m.feature = ReadFeaturePageData(*probe);
    if ((parts & kPciPart) != 0) m.pci = ReadPciPageData(*probe);
  }

  if ((parts & kSystemPart) != 0) {
    FillSystemPageOnce(m.system, m.os, m.facts);
    RefreshSystemPageLive(m.system, m.memory, std::time(nullptr), m.upTimeSeconds);
    ApplyInventoryToSystemPage(m.system, m.inventory);
  }
  if (probe != nullptr) {
    if ((parts & kDevicePart) != 0) {
      if (live) m.display = ReadX11DisplayMode();
      m.device = ReadDevicePage(probe, access, m.graphics);
      if (m.display) {
        m.device.displayMode = DisplayModeText(m.display->width, m.display->height,
                                               m.display->bitsPerPixel, m.display->refreshRate);
      }
      ApplyInventoryToDevicePage(m.device, m.inventory);
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
  for (const std::string& part : m.notRecorded) in.unavailable.push_back(part + ": " + kNotRecorded);
  return BuildMachineModel(in);
}

}  // namespace velora
