#include "cli/info_command.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "bench/linked_bench_engine.h"
#include "core/font_smoothing.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "core/visible_text.h"
#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/dll_page_data.h"
#include "info/feature_page_data.h"
#include "info/info_page_data.h"
#include "info/inventory_sysfs.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"
#include "platform/display_facts.h"
#include "platform/linux/linux_disk_commands.h"
#include "platform/program_folder.h"
#include "platform/regular_file.h"

namespace velora {

namespace {

constexpr const char* kPageOrder[] = {"system", "cpu",  "feature", "device",
                                      "pci",    "disk", "dll",     "info"};

bool Wants(const InfoCommand& c, const char* page) {
  return std::find(c.pages.begin(), c.pages.end(), page) != c.pages.end();
}

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

}  // namespace

InventoryFields CollectInventoryNow(const std::string& openGlRenderer,
                                    const std::vector<std::string>& identifiedModels) {
  const Settings settings = ProgramSettings();
  SynchronousInventoryHost host;
  if ((startupFlags() & kNoWmi) != 0) return host.fields();
  SysfsInventoryOptions options;
  options.programFolder = ProgramFolder();
  options.openGlRenderer = openGlRenderer;
  SysfsInventorySources sources(options);
  InventoryRequest request;
  request.disabled = ReadInventorySwitches(settings);
  request.startFlags = startupFlags();
  request.identifiedModels = identifiedModels;
  CollectInventory(sources, request, host, [](const std::string&) {});
  return host.fields();
}

SystemPageData ReadSystemPageNow(const OsIdentity& os, const InventoryFields& inventory) {
  SystemPageData system;
  FillSystemPageOnce(system, os, ReadFixedSystemFacts());
  RefreshSystemPageLive(system, ReadMemoryStatus(), std::time(nullptr), ReadUpTimeSeconds());
  ApplyInventoryToSystemPage(system, inventory);
  return system;
}

DevicePageData ReadDevicePageNow(ProbeObject& probe, const GraphicsApiVersions& graphics,
                                 const InventoryFields& inventory) {
  DevicePageData device;
  FillDevicePageFromProbe(device, &probe);
  device.fontSmoothing = FontSmoothingName(fontSmoothingType());
  if (auto mode = ReadX11DisplayMode()) {
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

std::optional<InfoCommand> ParseInfoCommand(const std::vector<std::string>& words,
                                            std::string& error) {
  InfoCommand command;
  bool all = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--json") {
      command.json = true;
    } else if (word == "--identify-file") {
      if (i + 1 >= words.size() || words[i + 1].empty()) {
        error = "info: --identify-file needs a file";
        return std::nullopt;
      }
      command.identifyFile = words[++i];
    } else if (word == "all") {
      all = true;
    } else if (std::find(std::begin(kPageOrder), std::end(kPageOrder), word) !=
               std::end(kPageOrder)) {
      command.pages.push_back(word);
    } else {
      error = "info: unknown page or option " + word;
      return std::nullopt;
    }
  }
  if (!command.identifyFile.empty()) {
    if (all || std::any_of(command.pages.begin(), command.pages.end(),
                           [](const std::string& p) { return p != "disk"; })) {
      error = "info: --identify-file shows the Disk page only";
      return std::nullopt;
    }
    command.pages = {"disk"};
    return command;
  }
  if (all || command.pages.empty())
    command.pages.assign(std::begin(kPageOrder), std::end(kPageOrder));
  // Printed in the window's order, each once, whatever order the words came in.
  std::vector<std::string> ordered;
  for (const char* page : kPageOrder) {
    if (Wants(command, page)) ordered.push_back(page);
  }
  command.pages = ordered;
  return command;
}

std::string PageViewsJson(const std::vector<PageView>& views) {
  nlohmann::ordered_json pages = nlohmann::ordered_json::array();
  for (const PageView& view : views) {
    nlohmann::ordered_json page;
    page["name"] = view.name;
    page["groups"] = nlohmann::ordered_json::array();
    for (const PageGroup& group : view.groups) {
      nlohmann::ordered_json fields = nlohmann::ordered_json::array();
      for (const PageField& field : group.fields) {
        nlohmann::ordered_json f;
        f["label"] = field.label;
        if (field.isLabel) {
          f["enabled"] = field.enabled;
        } else {
          f["value"] = field.value;
        }
        fields.push_back(f);
      }
      page["groups"].push_back({{"title", group.title}, {"fields", fields}});
    }
    page["tables"] = nlohmann::ordered_json::array();
    for (const PageTable& table : view.tables) {
      page["tables"].push_back(
          {{"title", table.title}, {"columns", table.columns}, {"rows", table.rows}});
    }
    pages.push_back(page);
  }
  nlohmann::ordered_json root;
  root["pages"] = pages;
  // Texts from the hardware may hold any byte; replace what is not UTF-8 instead of failing.
  return root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool IdentifyFileView(const std::string& path, int language, PageView& view, std::string& error) {
  // A block is about 1.3 KB of text; anything much larger is not one.
  const FileBytes file = ReadRegularFile(path, 64 * 1024);
  if (!file.ok) {
    error = path + ": " + file.error;
    return false;
  }
  const std::string& text = file.bytes;
  const auto words = ParseIdentifyText(text);
  if (!words) {
    error = path + ": not an IDENTIFY block (32 lines of 8 hexadecimal words)";
    return false;
  }
  view = DiskPageView(MakeDiskPageData({AtaDiskRow(*words, "")}, {}), language);
  view.tables.resize(1);  // no drive list: the block is not of this machine
  return true;
}

int RunInfo(const InfoCommand& command, int language) {
  if (!command.identifyFile.empty()) {
    PageView view;
    std::string error;
    if (!IdentifyFileView(command.identifyFile, language, view, error)) {
      std::fprintf(stderr, "velora: %s\n", error.c_str());
      return 1;
    }
    // Texts from a disk may hold any byte: none reaches the terminal as a control.
    const std::string out =
        command.json ? PageViewsJson({view}) : EscapedForTerminal(PageViewText(view) + "\n");
    if (std::fputs(out.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
      std::perror("velora: standard output");
      return 1;
    }
    return 0;
  }
  const OsIdentity os = IdentifyOperatingSystem();
  // Each page's views under its word; printed in the window's order at the end.
  std::map<std::string, std::vector<PageView>> made;
  GraphicsApiVersions graphics;
  if (Wants(command, "device")) graphics = ReadGraphicsApiVersions();
  // As in the window: the disks are identified first, and the inventory leaves those out.
  const bool collects = Wants(command, "system") || Wants(command, "device");
  std::optional<DiskPageData> disks;
  if (collects || Wants(command, "disk")) {
    LinuxDiskCommands commands;
    DiskPageSources sources(commands);
    sources.safeMode = (startupFlags() & kSafeMode) != 0;
    disks = ReadDiskPageData(sources);
  }
  InventoryFields inventory;
  if (collects) inventory = CollectInventoryNow(graphics.openGlRenderer, disks->identifiedModels);
  if (Wants(command, "system")) {
    made["system"].push_back(SystemPageView(ReadSystemPageNow(os, inventory), language));
  }
  const bool needsProbe = Wants(command, "cpu") || Wants(command, "feature") ||
                          Wants(command, "device") || Wants(command, "pci") ||
                          Wants(command, "info");
  if (needsProbe) {
    ProbeBinding binding(ProgramFolder());
    const uint32_t flags =
        (Wants(command, "cpu") || Wants(command, "feature") ? kCreateCpuProbe : 0) |
        (Wants(command, "pci") || Wants(command, "device") ? kCreatePciProbe : 0);
    if (!binding.Load(flags) || binding.probe() == nullptr) {
      std::fprintf(stderr, "velora: %s\n", binding.MissingMessage().c_str());
      return 1;
    }
    ProbeObject& probe = *binding.probe();
    if (Wants(command, "cpu")) {
      made["cpu"].push_back(
          CpuPageView(BuildCpuPageData(probe, 0, os, ReadMemoryStatus().physicalTotal)));
    }
    if (Wants(command, "feature"))
      made["feature"].push_back(FeaturePageView(ReadFeaturePageData(probe)));
    if (Wants(command, "device")) {
      made["device"].push_back(
          DevicePageView(ReadDevicePageNow(probe, graphics, inventory), language));
    }
    if (Wants(command, "pci")) made["pci"].push_back(PciPageView(ReadPciPageData(probe)));
    if (Wants(command, "info")) {
      InfoPageData info;
      const EngineInfo engine = LinkedBenchEngine().Info();
      info.versions = ComponentVersions(&probe, engine.version, engine.date);
      made["info"].push_back(InfoPageView(info));
    }
    binding.Release();
  }
  if (Wants(command, "disk")) made["disk"].push_back(DiskPageView(*disks, language));
  if (Wants(command, "dll")) {
    DllPageData dll;
    for (int category = 0; category < kDllCategoryCount; ++category) {
      FillDllCategory(dll, category, InstalledLibraryVersion);
      made["dll"].push_back(DllPageView(dll, language));
    }
  }
  std::vector<PageView> views;
  for (const char* page : kPageOrder)
    for (PageView& view : made[page]) views.push_back(std::move(view));
  std::string out;
  if (command.json) {
    out = PageViewsJson(views);
  } else {
    for (const PageView& view : views) out += EscapedForTerminal(PageViewText(view) + "\n");
  }
  if (std::fputs(out.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
    std::perror("velora: standard output");
    return 1;
  }
  return 0;
}

const char* InfoUsage() {
  return "       velora info [system|cpu|feature|device|pci|disk|dll|info|all] [--json]\n"
         "       velora info disk --identify-file FILE [--json]\n"
         "\n"
         "info          prints what the System, CPU, Feature, Device, PCI, Disk, DLL and Info\n"
         "              pages show (all of them by default; the DLL page's four categories one\n"
         "              after another; of the Info page its version rows), one\n"
         "              \"Label : value\" line per field and one line per list row; --json\n"
         "              prints the same as one JSON object.\n"
         "              --identify-file decodes a recorded IDENTIFY block (32 lines of 8\n"
         "              hexadecimal words, as hdparm --Istdin reads) instead of the disks.\n";
}

}  // namespace velora
