#include "session/machine_access.h"

#include "core/settings.h"
#include "platform/app_paths.h"
#include "platform/linux/linux_directx_sources.h"
#include "platform/linux/linux_disk_commands.h"
#include "platform/program_folder.h"
#include "platform/replay/replay_clock_source.h"
#include "platform/replay/replay_cpuid_source.h"
#include "platform/replay/replay_driver_link.h"
#include "platform/replay/replay_system_queries.h"
#include "probe/probe_environment.h"

namespace velora {

// The services a probe object of the recorded machine works through.
struct MachineAccess::Replay {
  explicit Replay(const Recording& r)
      : driver(r.pci.value_or(std::vector<RecordedPciFunction>{}), r.smbios),
        clock(r.manifest ? r.manifest->clockMhz : 0),
        status(kDriverNoDevice),
        cpuid(r.cpuid.value_or(CpuidRecording{})),
        system(r.cpuid ? r.cpuid->logicalProcessors : 0,
               r.manifest ? r.manifest->machineName : std::string()),
        disks(r.disks.value_or(DiskRecording{})),
        // The SMBIOS tables come through the link's physical memory, never from this
        // machine's firmware folder.
        environment{driver, clock, directx, status, cpuid, system, ProgramFolder(), "",
                    settingsPath()} {}

  ReplayDriverLink driver;
  ReplayClockSource clock;
  LinuxDirectXSources directx;
  std::atomic<int32_t> status;
  ReplayCpuidSource cpuid;
  ReplaySystemQueries system;
  ReplayDiskCommands disks;
  ProbeEnvironment environment;
};

MachineAccess::MachineAccess() : liveDisks_(std::make_unique<LinuxDiskCommands>()) {}

MachineAccess::MachineAccess(Recording recording)
    : recording_(std::make_unique<Recording>(std::move(recording))),
      replay_(std::make_unique<Replay>(*recording_)) {
  // A recording without a file tree reads an empty one, never this machine's.
  root_ = recording_->files.empty() ? "/dev/null/recorded-tree" : recording_->files;
}

MachineAccess::~MachineAccess() = default;

bool MachineAccess::Has(RecordedPart part) const {
  if (!recording_) return true;
  switch (part) {
    case RecordedPart::kCpuid: return recording_->cpuid.has_value();
    case RecordedPart::kPci: return recording_->pci.has_value();
    case RecordedPart::kSmbios: return recording_->smbios.has_value();
    case RecordedPart::kDisks: return recording_->disks.has_value();
    case RecordedPart::kFiles: return !recording_->files.empty();
  }
  return false;
}

DiskCommands& MachineAccess::disks() {
  return replay_ ? static_cast<DiskCommands&>(replay_->disks) : *liveDisks_;
}

void MachineAccess::Bind(ProbeBinding& binding) {
  binding.UseServices(replay_ ? &replay_->environment : nullptr);
}

}  // namespace velora
