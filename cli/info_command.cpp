#include "cli/info_command.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "core/font_smoothing.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/dll_page_data.h"
#include "info/feature_page_data.h"
#include "info/inventory_sysfs.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"
#include "platform/display_facts.h"
#include "platform/program_folder.h"

namespace velora {

namespace {

constexpr const char* kPageOrder[] = {"system", "cpu", "feature", "device", "pci", "dll"};

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

InventoryFields CollectInventoryNow(const std::string& openGlRenderer) {
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
  CollectInventory(sources, request, host, [](const std::string&) {});
  return host.fields();
}

}  // namespace

std::optional<InfoCommand> ParseInfoCommand(const std::vector<std::string>& words,
                                            std::string& error) {
  InfoCommand command;
  bool all = false;
  for (const std::string& word : words) {
    if (word == "--json") {
      command.json = true;
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

int RunInfo(const InfoCommand& command, int language) {
  const OsIdentity os = IdentifyOperatingSystem();
  std::vector<PageView> views;
  GraphicsApiVersions graphics;
  if (Wants(command, "device")) graphics = ReadGraphicsApiVersions();
  InventoryFields inventory;
  if (Wants(command, "system") || Wants(command, "device")) {
    inventory = CollectInventoryNow(graphics.openGlRenderer);
  }
  if (Wants(command, "system")) {
    SystemPageData system;
    FillSystemPageOnce(system, os, ReadFixedSystemFacts());
    RefreshSystemPageLive(system, ReadMemoryStatus(), std::time(nullptr), ReadUpTimeSeconds());
    ApplyInventoryToSystemPage(system, inventory);
    views.push_back(SystemPageView(system, language));
  }
  const bool needsProbe = Wants(command, "cpu") || Wants(command, "feature") ||
                          Wants(command, "device") || Wants(command, "pci");
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
      views.push_back(
          CpuPageView(BuildCpuPageData(probe, 0, os, ReadMemoryStatus().physicalTotal)));
    }
    if (Wants(command, "feature")) views.push_back(FeaturePageView(ReadFeaturePageData(probe)));
    if (Wants(command, "device")) {
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
      views.push_back(DevicePageView(device, language));
    }
    if (Wants(command, "pci")) views.push_back(PciPageView(ReadPciPageData(probe)));
    binding.Release();
  }
  if (Wants(command, "dll")) {
    DllPageData dll;
    for (int category = 0; category < kDllCategoryCount; ++category) {
      FillDllCategory(dll, category, InstalledLibraryVersion);
      views.push_back(DllPageView(dll, language));
    }
  }
  std::string out;
  if (command.json) {
    out = PageViewsJson(views);
  } else {
    for (const PageView& view : views) out += PageViewText(view) + "\n";
  }
  if (std::fputs(out.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
    std::perror("velora: standard output");
    return 1;
  }
  return 0;
}

const char* InfoUsage() {
  return "       velora info [system|cpu|feature|device|pci|dll|all] [--json]\n"
         "\n"
         "info          prints what the System, CPU, Feature, Device, PCI and DLL pages show\n"
         "              (all of them by default; the DLL page's four categories one after\n"
         "              another), one \"Label : value\" line per field and one line per list\n"
         "              row; --json prints the same as one JSON object.\n";
}

}  // namespace velora
