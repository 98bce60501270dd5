// probix-dump: loads libprobix.so by file name, as the program does, and prints every id
// with its type and answer, one per line.

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/library_file_check.h"
#include "platform/fake/fake_clock_source.h"
#include "platform/fake/fake_cpuid_source.h"
#include "tools/cpuid_dump_reader.h"
#include "platform/linux/linux_directx_sources.h"
#include "platform/fake/fake_driver_link.h"
#include "platform/fake/fake_system_queries.h"
#include "platform/linux/linux_system_queries.h"
#include "platform/program_folder.h"
#include "probe/pci/pci_device_table.h"
#include "probe/probe_object.h"
#include "probe/probix_object.h"
#include "tools/probe_id_catalog.h"

namespace {

constexpr const char* kLibraryName = "libprobix.so";

struct Options {
  uint32_t flags = velora::kDefaultCreateFlags;
  bool all = false;
  bool actions = false;
  std::string library;
  std::string cpuidDump;
};

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: probix-dump [FLAGS] [--all] [--actions] [--library PATH] [--cpuid FILE]\n"
               "\n"
               "Creates one probe object with FLAGS (default 0x700: processor and PCI parts;\n"
               "0x1000 adds SMBIOS, 0 creates none) and prints every id it answers:\n"
               "  0x1001 S \"text\"     a text answer\n"
               "  0x1030 I 2          an integer answer\n"
               "  --all       also print ids that answer -1 and every PCI table entry\n"
               "  --actions   also run the ids that measure or identify again\n"
               "  --library   load this file instead of %s beside the program\n"
               "  --cpuid     identify the processor recorded in FILE instead of this one\n"
               "              (processor part only; no MSRs, no clock measurement)\n",
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
      options.cpuidDump = argv[++i];
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

// A recorded processor: the probe code runs in this process over the replayed registers, with
// no driver, so nothing reaches this machine's MSRs or clocks.
int DumpRecordedProcessor(const Options& options) {
  velora::FakeCpuidSource cpuid;
  std::string error;
  if (!velora::ReadCpuidDump(options.cpuidDump, cpuid, error)) {
    std::fprintf(stderr, "probix-dump: %s: %s\n", options.cpuidDump.c_str(), error.c_str());
    return 1;
  }
  velora::FakeSystemQueries system;
  system.processors = cpuid.logicalProcessors;
  system.machine = velora::ProcessSystemQueries().MachineName();
  velora::FakeDriverLink driver;
  driver.status = velora::kDriverNoDevice;
  velora::FakeClockSource clock;
  // A counter that stands still: the replay measures nothing, so the clocks stay unknown.
  clock.tscMhz = 0.0;
  velora::LinuxDirectXSources directx;
  std::atomic<int32_t> status{velora::kDriverNoDevice};
  velora::ProbeEnvironment env{driver, clock, directx, status, cpuid, system, "", "", ""};
  velora::ProbixObject probe(env, velora::kCreateCpuProbe);
  PrintAll(probe, options);
  return 0;
}

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    PrintUsage(stderr);
    return 2;
  }
  if (!options.cpuidDump.empty()) return DumpRecordedProcessor(options);
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
