#include "cli/info_command.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "bench/linked_bench_engine.h"
#include "core/probe_binding.h"
#include "core/startup_flags.h"
#include "info/cpu_page_data.h"
#include "info/disk_page_data.h"
#include "info/feature_page_data.h"
#include "info/info_page_data.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"
#include "platform/linux/linux_disk_commands.h"
#include "platform/program_folder.h"

namespace velora {

namespace {

constexpr const char* kPageOrder[] = {"system", "cpu", "feature", "pci", "disk", "info"};

bool Wants(const InfoCommand& c, const char* page) {
  return std::find(c.pages.begin(), c.pages.end(), page) != c.pages.end();
}

}  // namespace

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
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  // A block is about 1.3 KB of text; anything much larger is not one.
  std::string text(64 * 1024 + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    error = path + ": cannot be read";
    return false;
  }
  const auto words = text.size() <= 64 * 1024 ? ParseIdentifyText(text) : std::nullopt;
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
    const std::string out = command.json ? PageViewsJson({view}) : PageViewText(view) + "\n";
    if (std::fputs(out.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
      std::perror("velora: standard output");
      return 1;
    }
    return 0;
  }
  const OsIdentity os = IdentifyOperatingSystem();
  std::vector<PageView> views;
  if (Wants(command, "system")) {
    SystemPageData system;
    FillSystemPageOnce(system, os, ReadFixedSystemFacts());
    RefreshSystemPageLive(system, ReadMemoryStatus(), std::time(nullptr), ReadUpTimeSeconds());
    views.push_back(SystemPageView(system, language));
  }
  // The Disk page comes between the PCI and Info pages, which both need the probe.
  std::optional<PageView> disk;
  if (Wants(command, "disk")) {
    LinuxDiskCommands commands;
    DiskPageSources sources(commands);
    sources.safeMode = (startupFlags() & kSafeMode) != 0;
    disk = DiskPageView(ReadDiskPageData(sources), language);
  }
  const bool needsProbe = Wants(command, "cpu") || Wants(command, "feature") ||
                          Wants(command, "pci") || Wants(command, "info");
  if (needsProbe) {
    ProbeBinding binding(ProgramFolder());
    const uint32_t flags =
        (Wants(command, "cpu") || Wants(command, "feature") ? kCreateCpuProbe : 0) |
        (Wants(command, "pci") ? kCreatePciProbe : 0);
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
    if (Wants(command, "pci")) views.push_back(PciPageView(ReadPciPageData(probe)));
    if (disk) {
      views.push_back(std::move(*disk));
      disk.reset();
    }
    if (Wants(command, "info")) {
      InfoPageData info;
      const EngineInfo engine = LinkedBenchEngine().Info();
      info.versions = ComponentVersions(&probe, engine.version, engine.date);
      views.push_back(InfoPageView(info));
    }
    binding.Release();
  }
  if (disk) views.push_back(std::move(*disk));
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
  return "       velora info [system|cpu|feature|pci|disk|info|all] [--json]\n"
         "       velora info disk --identify-file FILE [--json]\n"
         "\n"
         "info          prints what the System, CPU, Feature, PCI, Disk and Info pages show\n"
         "              (all of them by default; of the Info page its version rows), one\n"
         "              \"Label : value\" line per field and one line per list row; --json\n"
         "              prints the same as one JSON object.\n"
         "              --identify-file decodes a recorded IDENTIFY block (32 lines of 8\n"
         "              hexadecimal words, as hdparm --Istdin reads) instead of the disks.\n";
}

}  // namespace velora
