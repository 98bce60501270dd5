#include "session/record_machine.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "info/block_devices.h"
#include "platform/linux/linux_cpuid_source.h"
#include "platform/linux/linux_disk_commands.h"
#include "platform/linux/linux_driver_link.h"
#include "platform/linux/linux_processor_affinity.h"
#include "platform/linux/linux_system_queries.h"
#include "platform/program_folder.h"
#include "platform/regular_file.h"
#include "platform/utc_time.h"
#include "probe/probe_id_table.h"
#include "session/new_files.h"
#include "session/record_cpuid.h"
#include "session/record_disks.h"
#include "session/record_privacy.h"
#include "session/record_system_files.h"
#include "session/recording_manifest.h"

namespace velora {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSmbiosFolder = "/sys/firmware/dmi/tables";

// Made when absent; otherwise an empty folder that is not a link.
bool PrepareFolder(const std::string& folder, bool& made, std::string& error) {
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      error = folder + ": " + std::strerror(errno);
      return false;
    }
    if (mkdir(folder.c_str(), 0755) != 0) {
      error = folder + ": " + std::strerror(errno);
      return false;
    }
    made = true;
    return true;
  }
  if (S_ISLNK(st.st_mode)) {
    error = folder + ": is a link; give a new folder or an empty one";
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    error = folder + ": is not a folder";
    return false;
  }
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    error = folder + ": " + std::strerror(errno);
    return false;
  }
  bool empty = true;
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      empty = false;
      break;
    }
  }
  closedir(dir);
  if (!empty) {
    error = folder + ": is not empty; a recording goes into a new folder or an empty one";
    return false;
  }
  return true;
}

// Removes what this run wrote: the folder itself when it made it, else what is inside.
void Undo(const std::string& folder, bool made) {
  std::error_code ec;
  if (made) {
    fs::remove_all(folder, ec);
    return;
  }
  for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove_all(entry.path(), ec);
}

class Recorder {
 public:
  Recorder(std::string folder, const RecordOptions& options, RecordOutcome& outcome)
      : folder_(std::move(folder)), options_(options), outcome_(outcome) {}

  bool Run(std::string& error) {
    manifest_.program = std::string("velora ") + kCoreVersion;
    manifest_.recordedAt = UtcNow();
    manifest_.machineName = ProcessSystemQueries().MachineName();
    manifest_.serials = options_.serials;
    // CPUID first, while the thread may still run on every processor it is allowed.
    const bool done = Step(&Recorder::Cpuid) && Step(&Recorder::Clock) && Step(&Recorder::Pci) &&
                      Step(&Recorder::Smbios) && Step(&Recorder::Disks) &&
                      Step(&Recorder::Files) && Step(&Recorder::Manifest);
    if (!done) error = error_.empty() ? "stopped" : error_;
    return done;
  }

 private:
  using Part = bool (Recorder::*)();
  bool Step(Part part) {
    if (options_.stop != nullptr && options_.stop->load()) return false;
    return (this->*part)();
  }

  bool Write(const std::string& name, std::string_view bytes) {
    return WriteNewFile(folder_ + "/" + name, bytes, error_);
  }
  void Missing(const std::string& part, const std::string& why) {
    manifest_.notRecorded.push_back(part + ": " + why);
  }

  // The probe's measurement of the clock, which a replay gives back.
  bool Clock() {
    ProbeBinding binding(ProgramFolder());
    if (!binding.Load(kCreateCpuProbe) || binding.probe() == nullptr) {
      Missing("clock", binding.MissingMessage());
      return true;
    }
    char text[kProbeTextCapacity] = "";
    binding.probe()->GetString(probe_id::kCpuCoreClock, text);
    binding.Release();
    const double mhz = std::strtod(text, nullptr);
    if (mhz > 0 && mhz < 100000) {
      manifest_.clockMhz = mhz;
      outcome_.recorded.push_back("clock: " + std::string(text) + " MHz");
    } else {
      Missing("clock", "the probe measured none");
    }
    return true;
  }

  bool Cpuid() {
    LinuxCpuidSource cpuid;
    if (!cpuid.Available()) {
      Missing("cpuid", "the processor has no CPUID instruction");
      return true;
    }
    std::vector<int> skipped;
    CpuidRecording recording = ReadAllProcessors(cpuid, ProcessAffinity(), skipped);
    if (!options_.serials)
      for (RecordedProcessor& processor : recording.processors) BlankProcessorSerial(processor.leaves);
    for (int processor : skipped)
      Missing("cpuid", "processor " + std::to_string(processor) + " refused the thread");
    if (recording.processors.empty()) return true;
    if (!Write(recording_files::kCpuid, CpuidRawText(recording))) return false;
    outcome_.recorded.push_back(std::string(recording_files::kCpuid) + ": " +
                                std::to_string(recording.processors.size()) + " processors");
    return true;
  }

  bool Pci() {
    LinuxDriverLink link;
    std::vector<RecordedPciFunction> functions;
    size_t shortest = 4096;
    std::string failed;
    for (uint32_t address = 0; address <= 0xFFFF; ++address) {
      uint32_t probe = 0;
      if (link.ReadPciConfig(address, 0, &probe, sizeof probe) == kPciErrorDeviceAbsent) continue;
      RecordedPciFunction function;
      function.address = address;
      // An ordinary user reads only the first 64 bytes; the extended space needs a PCI
      // Express function.
      for (size_t size : {4096u, 256u, 64u}) {
        function.config.assign(size, 0);
        if (link.ReadPciConfig(address, 0, function.config.data(), size) == 0) break;
        function.config.clear();
      }
      char name[16];
      std::snprintf(name, sizeof name, "0000:%02x:%02x.%x", PciBus(address), PciDevice(address),
                    PciFunction(address));
      if (function.config.empty()) {
        failed += (failed.empty() ? "" : ", ") + std::string(name);
        continue;
      }
      shortest = std::min(shortest, function.config.size());
      functions.push_back(std::move(function));
    }
    if (!failed.empty()) Missing("pci", failed + ": the configuration space does not read");
    if (functions.empty()) {
      Missing("pci", "no PCI function could be read (/sys/bus/pci/devices)");
      return true;
    }
    if (shortest < 256) Missing("pci", "configuration spaces beyond 64 bytes need root");
    if (!Write(recording_files::kPci, PciHexText(functions))) return false;
    outcome_.recorded.push_back(std::string(recording_files::kPci) + ": " +
                                std::to_string(functions.size()) + " functions");
    return true;
  }

  bool Smbios() {
    const std::string entryPath = std::string(kSmbiosFolder) + "/smbios_entry_point";
    const std::string tablePath = std::string(kSmbiosFolder) + "/DMI";
    const FileBytes entry = ReadRegularFile(entryPath, 4096, false);
    if (!entry.ok) {
      Missing("smbios", entryPath + ": " + entry.error);
      return true;
    }
    const FileBytes table = ReadRegularFile(tablePath, kLargestSmbiosRecording, false);
    if (!table.ok) {
      Missing("smbios", tablePath + ": " + table.error);
      return true;
    }
    SmbiosRecording smbios;
    std::string why;
    if (!ParseSmbiosPair(entry.bytes, table.bytes, smbios, why)) {
      Missing("smbios", std::string(kSmbiosFolder) + ": " + why);
      return true;
    }
    if (!options_.serials) BlankSmbiosSerials(smbios.table);
    if (!Write(recording_files::kSmbios, SmbiosDumpBin(smbios))) return false;
    outcome_.recorded.push_back(std::string(recording_files::kSmbios) + ": " +
                                std::to_string(smbios.table.size()) + " bytes of tables");
    return true;
  }

  bool Disks() {
    const std::string disks = folder_ + "/" + recording_files::kDisks;
    if (!MakeFolder(disks, error_)) return false;
    LinuxDiskCommands commands;
    const DiskFiles read = ReadDiskFiles(ListBlockDevices(), commands, options_.serials);
    for (const DiskFile& file : read.files)
      if (!Write(std::string(recording_files::kDisks) + "/" + file.name, file.bytes)) return false;
    for (const std::string& why : read.missing) Missing("disks", why);
    outcome_.recorded.push_back(std::string(recording_files::kDisks) + ": " +
                                std::to_string(read.identified) + " identified");
    return true;
  }

  bool Files() {
    const std::string root = folder_ + "/" + recording_files::kFiles;
    if (!MakeFolder(root, error_)) return false;
    TreeCopier copier("", root);
    RecordSystemFiles(copier, options_.serials);
    if (!copier.writeError().empty()) {
      error_ = copier.writeError();
      return false;
    }
    outcome_.recorded.push_back(std::string(recording_files::kFiles) + ": " +
                                std::to_string(copier.filesCopied()) + " system files");
    return true;
  }

  // Last: a folder without it is no recording, so an interrupted one is never read as whole.
  bool Manifest() {
    outcome_.notRecorded = manifest_.notRecorded;
    return Write(recording_files::kManifest, ManifestJson(manifest_));
  }

  std::string folder_;
  const RecordOptions& options_;
  RecordOutcome& outcome_;
  RecordingManifest manifest_;
  std::string error_;
};

}  // namespace

bool RecordMachine(const std::string& folder, const RecordOptions& options,
                   RecordOutcome& outcome, std::string& error) {
  outcome = RecordOutcome{};
  bool made = false;
  if (!PrepareFolder(folder, made, error)) return false;
  Recorder recorder(folder, options, outcome);
  if (recorder.Run(error)) return true;
  Undo(folder, made);
  outcome = RecordOutcome{};
  outcome.removed = true;
  return false;
}

}  // namespace velora
