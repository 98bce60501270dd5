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

#include "core/main_window_model.h"
#include "core/visible_text.h"
#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/dll_page_data.h"
#include "info/feature_page_data.h"
#include "info/info_page_data.h"
#include "info/machine_model.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"
#include "platform/regular_file.h"
#include "session/machine_access.h"
#include "session/machine_snapshot.h"
#include "session/recording.h"

namespace velora {

namespace {

constexpr const char* kPageOrder[] = {"system", "cpu",  "feature", "device",
                                      "pci",    "disk", "dll",     "info"};

std::string PageCaption(const std::string& word) {
  if (word == "cpu" || word == "pci" || word == "dll") {
    std::string upper = word;
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    return upper;
  }
  return static_cast<char>(word[0] - 'a' + 'A') + word.substr(1);
}

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
    } else if (word == "--from") {
      if (i + 1 >= words.size() || words[i + 1].empty()) {
        error = "info: --from needs a recording (a folder or a file)";
        return std::nullopt;
      }
      command.from.push_back(words[++i]);
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
    if (!command.from.empty()) {
      error = "info: --identify-file and --from exclude each other (give the block with --from)";
      return std::nullopt;
    }
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

bool IdentifyFileDisk(const std::string& path, DiskPageData& disk, std::string& error) {
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
  disk = MakeDiskPageData({AtaDiskRow(*words, "")}, {});
  return true;
}

bool IdentifyFileView(const std::string& path, int language, PageView& view, std::string& error) {
  DiskPageData disk;
  if (!IdentifyFileDisk(path, disk, error)) return false;
  view = DiskPageView(disk, language);
  view.tables.resize(1);  // no drive list: the block is not of this machine
  return true;
}

std::unique_ptr<MachineAccess> AccessFrom(const std::vector<std::string>& from) {
  if (from.empty()) return std::make_unique<MachineAccess>();
  Recording recording;
  std::string error;
  if (!LoadRecording(from, recording, error)) {
    std::fprintf(stderr, "velora: %s\n", EscapedForTerminal(error).c_str());
    return nullptr;
  }
  return std::make_unique<MachineAccess>(std::move(recording));
}

int RunInfo(const InfoCommand& command, int language) {
  if (!command.identifyFile.empty()) {
    DiskPageData disk;
    std::string error;
    if (!IdentifyFileDisk(command.identifyFile, disk, error)) {
      std::fprintf(stderr, "velora: %s\n", error.c_str());
      return 1;
    }
    PageView view = DiskPageView(disk, language);
    view.tables.resize(1);  // no drive list: the block is not of this machine
    MachineModelInputs only;
    only.disk = &disk;
    // Texts from a disk may hold any byte: none reaches the terminal as a control.
    const std::string out = command.json ? MachineModelJson(BuildMachineModel(only), kCoreVersion)
                                         : EscapedForTerminal(PageViewText(view) + "\n");
    if (std::fputs(out.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
      std::perror("velora: standard output");
      return 1;
    }
    return 0;
  }
  uint32_t parts = 0;
  for (size_t i = 0; i < std::size(kPageOrder); ++i) {
    if (Wants(command, kPageOrder[i])) parts |= 1u << i;
  }
  const std::unique_ptr<MachineAccess> access = AccessFrom(command.from);
  if (!access) return 2;
  const MachineSnapshot machine = CollectMachine(parts, *access);
  if (!machine.probeProblem.empty()) {
    std::fprintf(stderr, "velora: %s\n", machine.probeProblem.c_str());
    return 1;
  }
  // Each page's views under its word; printed in the window's order at the end.
  std::map<std::string, std::vector<PageView>> made;
  // What a recording does not hold is said where its page would be, never filled in from here.
  auto recorded = [&](const char* page) {
    if (std::find(machine.notRecorded.begin(), machine.notRecorded.end(), page) ==
        machine.notRecorded.end()) {
      return true;
    }
    PageView missing;
    missing.name = PageCaption(page) + ": " + kNotRecorded;
    made[page].push_back(missing);
    return false;
  };
  if (Wants(command, "system")) made["system"].push_back(SystemPageView(machine.system, language));
  if (Wants(command, "cpu") && recorded("cpu")) made["cpu"].push_back(CpuPageView(machine.cpu));
  if (Wants(command, "feature") && recorded("feature")) made["feature"].push_back(FeaturePageView(machine.feature));
  if (Wants(command, "device")) made["device"].push_back(DevicePageView(machine.device, language));
  if (Wants(command, "pci") && recorded("pci")) made["pci"].push_back(PciPageView(machine.pci));
  if (Wants(command, "info")) made["info"].push_back(InfoPageView(machine.info));
  if (Wants(command, "disk") && recorded("disk")) made["disk"].push_back(DiskPageView(machine.disk, language));
  if (Wants(command, "dll")) recorded("dll");
  for (const DllPageData& dll : machine.dll) made["dll"].push_back(DllPageView(dll, language));
  std::vector<PageView> views;
  for (const char* page : kPageOrder)
    for (PageView& view : made[page]) views.push_back(std::move(view));
  std::string out;
  if (command.json) {
    out = MachineModelJson(ModelOf(machine), kCoreVersion);
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
  return "       velora info [system|cpu|feature|device|pci|disk|dll|info|all ...] [--json]\n"
         "                   [--from PATH ...]\n"
         "       velora info disk --identify-file FILE [--json]\n"
         "\n"
         "info          prints what the System, CPU, Feature, Device, PCI, Disk, DLL and Info\n"
         "              pages show (all of them by default, or the pages named, in the window's\n"
         "              order), one \"Label : value\" line per field and one line per list row.\n"
         "              --json prints the machine as typed values instead: numbers as numbers\n"
         "              with their unit in the key, null for what could not be read; the keys\n"
         "              are described by data/velora-info.schema.json.\n"
         "              --identify-file decodes a recorded IDENTIFY block (32 lines of 8\n"
         "              hexadecimal words, as hdparm --Istdin reads) instead of the disks.\n"
         "              --from shows a recorded machine instead of this one: a folder made by\n"
         "              velora record, a folder holding smbios_entry_point and DMI, or a file\n"
         "              of CPUID (cpuid -r, or LEAF SUB EAX EBX ECX EDX lines), PCI (lspci -x,\n"
         "              -xxx or -xxxx), SMBIOS (dmidecode --dump-bin, or a bare table) or\n"
         "              IDENTIFY (hdparm --Istdin) data; give it once per file. What the\n"
         "              recording lacks reads \"not recorded\".\n";
}

}  // namespace velora
