// probix-dump: loads libprobix.so by file name, as the program does, and prints every id
// with its type and answer, one per line.

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/library_file_check.h"
#include "platform/fake/fake_clock_source.h"
#include "platform/linux/linux_directx_sources.h"
#include "platform/program_folder.h"
#include "platform/replay/recorded_cpuid.h"
#include "platform/replay/recorded_pci.h"
#include "platform/replay/recorded_smbios.h"
#include "platform/replay/recording_kind.h"
#include "platform/replay/replay_cpuid_source.h"
#include "platform/replay/replay_driver_link.h"
#include "platform/replay/replay_system_queries.h"
#include "probe/pci/pci_device_table.h"
#include "probe/probe_object.h"
#include "probe/probix_object.h"
#include "tools/probe_id_catalog.h"
#include "tools/recording_file.h"

namespace {

constexpr const char* kLibraryName = "libprobix.so";

struct Options {
  uint32_t flags = velora::kDefaultCreateFlags;
  bool all = false;
  bool actions = false;
  std::string library;
  std::string cpuidFile;
  std::string pciFile;
  std::string smbiosPath;
  bool Replays() const { return !cpuidFile.empty() || !pciFile.empty() || !smbiosPath.empty(); }
};

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: probix-dump [FLAGS] [--all] [--actions] [--library PATH]\n"
               "       probix-dump [--all] [--actions] [--cpuid FILE] [--pci FILE]\n"
               "                   [--smbios FILE|FOLDER]\n"
               "\n"
               "Creates one probe object with FLAGS (default 0x700: processor and PCI parts;\n"
               "0x1000 adds SMBIOS, 0 creates none) and prints every id it answers:\n"
               "  0x1001 S \"text\"     a text answer\n"
               "  0x1030 I 2          an integer answer\n"
               "  --all       also print ids that answer -1 and every PCI table entry\n"
               "  --actions   also run the ids that measure or identify again\n"
               "  --library   load this file instead of %s beside the program\n"
               "\n"
               "A recorded machine instead of this one: the parts recorded are created, the\n"
               "others are not, and nothing reaches this machine's MSRs, clocks or devices.\n"
               "  --cpuid     the processor in FILE: LEAF SUB EAX EBX ECX EDX lines, or the\n"
               "              output of cpuid -r (processor part; no clock measurement)\n"
               "  --pci       the PCI functions in FILE, the output of lspci -x, -xxx or -xxxx\n"
               "  --smbios    the SMBIOS tables in FILE (dmidecode --dump-bin, or a bare\n"
               "              structure table) or in FOLDER (smbios_entry_point and DMI, as\n"
               "              /sys/firmware/dmi/tables holds them)\n",
               kLibraryName);
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--all") {
      options.all = true;
    } else if (arg == "--actions") {
      options.actions = true;
    } else if (arg == "--cpuid" && i + 1 < argc) {
      options.cpuidFile = argv[++i];
    } else if (arg == "--pci" && i + 1 < argc) {
      options.pciFile = argv[++i];
    } else if (arg == "--smbios" && i + 1 < argc) {
      options.smbiosPath = argv[++i];
    } else if (arg == "--library" && i + 1 < argc) {
      options.library = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      std::exit(0);
    } else {
      char* end = nullptr;
      unsigned long value = std::strtoul(arg.c_str(), &end, 0);
      if (end == arg.c_str() || *end != '\0' || value > 0xFFFFFFFFul) {
        std::fprintf(stderr, "probix-dump: unknown argument \"%s\"\n", arg.c_str());
        return false;
      }
      options.flags = static_cast<uint32_t>(value);
    }
  }
  return true;
}

// As the programs bind it: a file that is there but is no whole shared library (a truncated
// copy would be mapped and fault on its missing pages) is not loaded, nor passed over for
// another one.
void* LoadLibrary(const Options& options) {
  const std::string path =
      options.library.empty() ? velora::ProgramFolder() + "/" + kLibraryName : options.library;
  if (options.library.empty() && access(path.c_str(), F_OK) != 0) {
    return dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  }
  if (!velora::PlausibleSharedLibrary(path)) {
    std::fprintf(stderr, "probix-dump: %s is not a whole shared library\n", path.c_str());
    return nullptr;
  }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr && options.library.empty()) {
    handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  }
  return handle;
}

void PrintText(velora::ProbeObject& probe, uint32_t id, bool all) {
  char buffer[velora::kProbeTextCapacity] = {};
  if (probe.GetString(id, buffer) == -1 && !all) return;
  std::printf("0x%04X S %s\n", id, velora::QuotedProbeText(buffer).c_str());
}

void PrintInt(velora::ProbeObject& probe, uint32_t id, bool all, int32_t in = 0) {
  int32_t value = in;
  int32_t result = probe.GetInt(id, &value);
  if (result == -1 && value == -1 && !all) return;
  std::printf("0x%04X I %d\n", id, value);
}

}  // namespace

void PrintAll(velora::ProbeObject& probe, const Options& options) {
  int32_t devices = 0;
  if (probe.GetInt(velora::probe_id::kPciDeviceCount, &devices) != 0 || devices < 0) devices = 0;
  uint32_t entries = options.all ? velora::kPciTableEntries : static_cast<uint32_t>(devices);

  using velora::ProbeIdKind;
  for (const velora::ProbeIdEntry& entry : velora::ProbeIdCatalog(entries)) {
    switch (entry.kind) {
      case ProbeIdKind::Text: PrintText(probe, entry.id, options.all); break;
      case ProbeIdKind::Int: PrintInt(probe, entry.id, options.all); break;
      case ProbeIdKind::TextAndInt:
        PrintText(probe, entry.id, options.all);
        PrintInt(probe, entry.id, options.all);
        break;
      case ProbeIdKind::TextAction:
        if (options.actions) PrintText(probe, entry.id, options.all);
        break;
      case ProbeIdKind::Action:
        if (options.actions) PrintInt(probe, entry.id, options.all);
        break;
      case ProbeIdKind::Command: break;
    }
  }
  std::fflush(stdout);
}

bool Refuse(const std::string& path, const std::string& error) {
  std::fprintf(stderr, "probix-dump: %s: %s\n", path.c_str(), error.c_str());
  return false;
}

// A recording of another kind is named as such rather than refused at its first line.
std::string KindError(const std::string& bytes, velora::RecordingKind wanted,
                      const std::string& error) {
  const velora::RecordingKind kind = velora::DetectRecordingKind(bytes);
  if (kind == velora::RecordingKind::kUnknown || kind == wanted) return error;
  return std::string("holds ") + velora::RecordingKindName(kind) + " data, not " +
         velora::RecordingKindName(wanted);
}

bool ReadCpuid(const std::string& path, velora::CpuidRecording& recording) {
  std::string bytes, error;
  if (!velora::ReadRecordingFile(path, velora::kLargestCpuidRecording, bytes, error) ||
      !velora::ParseCpuidRecording(bytes, recording, error)) {
    return Refuse(path, KindError(bytes, velora::RecordingKind::kCpuid, error));
  }
  return true;
}

bool ReadPci(const std::string& path, std::vector<velora::RecordedPciFunction>& functions) {
  std::string bytes, error;
  if (!velora::ReadRecordingFile(path, velora::kLargestPciRecording, bytes, error) ||
      !velora::ParsePciRecording(bytes, functions, error)) {
    return Refuse(path, KindError(bytes, velora::RecordingKind::kPci, error));
  }
  return true;
}

// A file, or a folder holding the two files Linux exposes.
bool ReadSmbios(const std::string& path, std::optional<velora::SmbiosRecording>& recording) {
  constexpr size_t kLargestEntryPoint = 4096;
  std::string bytes, entry, error;
  velora::SmbiosRecording smbios;
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    const std::string entryPath = path + "/smbios_entry_point", tablePath = path + "/DMI";
    if (!velora::ReadRecordingFile(entryPath, kLargestEntryPoint, entry, error)) {
      return Refuse(entryPath, error);
    }
    if (!velora::ReadRecordingFile(tablePath, velora::kLargestSmbiosRecording, bytes, error)) {
      return Refuse(tablePath, error);
    }
    if (!velora::ParseSmbiosPair(entry, bytes, smbios, error)) return Refuse(path, error);
  } else if (!velora::ReadRecordingFile(path, velora::kLargestSmbiosRecording, bytes, error) ||
             !velora::ParseSmbiosRecording(bytes, smbios, error)) {
    return Refuse(path, KindError(bytes, velora::RecordingKind::kSmbios, error));
  }
  recording = std::move(smbios);
  return true;
}

// A recorded machine: the probe code runs in this process over the replayed registers, PCI
// functions and tables, and nothing reaches this machine's MSRs, clocks or devices.
int DumpRecordedMachine(const Options& options) {
  velora::CpuidRecording cpuid;
  std::vector<velora::RecordedPciFunction> functions;
  std::optional<velora::SmbiosRecording> smbios;
  uint32_t parts = 0;
  if (!options.cpuidFile.empty()) {
    if (!ReadCpuid(options.cpuidFile, cpuid)) return 1;
    parts |= velora::kCreateCpuProbe;
  }
  if (!options.pciFile.empty()) {
    if (!ReadPci(options.pciFile, functions)) return 1;
    parts |= velora::kCreatePciProbe;
  }
  if (!options.smbiosPath.empty()) {
    if (!ReadSmbios(options.smbiosPath, smbios)) return 1;
    parts |= velora::kCreateSmbiosProbe;
  }
  // The machine's name was not recorded: nothing is named after this one.
  velora::ReplaySystemQueries system(cpuid.logicalProcessors, "");
  velora::ReplayCpuidSource processor(std::move(cpuid));
  velora::ReplayDriverLink driver(std::move(functions), std::move(smbios));
  velora::FakeClockSource clock;
  // A counter that stands still: the replay measures nothing, so the clocks stay unknown.
  clock.tscMhz = 0.0;
  velora::LinuxDirectXSources directx;
  std::atomic<int32_t> status{driver.Status()};
  velora::ProbeEnvironment env{
      driver, clock, directx, status, processor, system, velora::ProgramFolder(), "", ""};
  velora::ProbixObject probe(env, parts);
  PrintAll(probe, options);
  return 0;
}

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    PrintUsage(stderr);
    return 2;
  }
  if (options.Replays()) return DumpRecordedMachine(options);
  void* library = LoadLibrary(options);
  if (library == nullptr) {
    std::fprintf(stderr, "Not found \"%s\".\n", kLibraryName);
    return 1;
  }
  auto create = reinterpret_cast<CreateProbixFn>(dlsym(library, "CreateProbix"));
  auto destroy = reinterpret_cast<DestroyProbixFn>(dlsym(library, "DestroyProbix"));
  if (create == nullptr || destroy == nullptr) {
    std::fprintf(stderr, "Not found \"CreateProbix\" or \"DestroyProbix\" in \"%s\".\n",
                 kLibraryName);
    dlclose(library);
    return 1;
  }
  velora::ProbeObject* probe = create(options.flags);
  if (probe == nullptr) {
    std::fprintf(stderr, "CreateProbix(0x%X) failed.\n", options.flags);
    dlclose(library);
    return 1;
  }

  PrintAll(*probe, options);
  destroy(probe);
  dlclose(library);
  return 0;
}
