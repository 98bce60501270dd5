#pragma once
// A recorded machine: what `velora record` saved, or files the usual Linux tools wrote, given
// with --from. Everything in it is untrusted: sizes are bounded, kinds are found from content,
// and no path in a recording folder leads outside it.

#include <optional>
#include <string>
#include <vector>

#include "platform/replay/recorded_cpuid.h"
#include "platform/replay/recorded_pci.h"
#include "platform/replay/recorded_smbios.h"
#include "platform/replay/replay_disk_commands.h"

namespace velora {

// A recording folder as `velora record` lays it out.
namespace recording_files {
inline constexpr const char* kManifest = "manifest.json";
inline constexpr const char* kCpuid = "cpuid.txt";      // cpuid -r
inline constexpr const char* kPci = "lspci.txt";        // lspci -D -n -xxxx
inline constexpr const char* kSmbios = "smbios.bin";    // dmidecode --dump-bin
inline constexpr const char* kDisks = "disks";          // NAME.identify.txt (hdparm --Istdin),
                                                         // NAME.nvme-ctrl.bin, NAME.nvme-nsN.bin
inline constexpr const char* kFiles = "root";           // the sysfs and proc files, under /
}  // namespace recording_files

struct RecordingManifest {
  std::string program;     // "velora 0.9.115"
  std::string recordedAt;  // ISO 8601, UTC
  double clockMhz = 0;     // the clock measured while recording; 0 when not
  std::string machineName; // "x86_64"
  bool serials = false;    // serial numbers and MAC addresses were kept
  // Parts that could not be read while recording, and why ("smbios: Permission denied").
  std::vector<std::string> notRecorded;
};

struct Recording {
  std::string name;  // what was given, for titles and messages
  std::optional<CpuidRecording> cpuid;
  std::optional<std::vector<RecordedPciFunction>> pci;
  std::optional<SmbiosRecording> smbios;
  std::optional<DiskRecording> disks;
  std::string files;  // folder standing for /, empty when none was recorded
  std::optional<RecordingManifest> manifest;
};

// Reads one or more recordings into one: each path a recording folder, a folder holding
// smbios_entry_point and DMI, or a single file of a known kind. False with error naming the
// path and the reason (for a file of no known kind, the kinds accepted).
bool LoadRecording(const std::vector<std::string>& paths, Recording& recording,
                   std::string& error);

}  // namespace velora
