#pragma once
// Where the collectors read: this machine, or a recording of one. On a recording, what it
// lacks is not read from this machine but shown as not recorded.

#include <atomic>
#include <memory>
#include <string>

#include "core/probe_binding.h"
#include "platform/disk_commands.h"
#include "session/recording.h"

namespace velora {

// The parts of a machine a recording may hold.
enum class RecordedPart { kCpuid, kPci, kSmbios, kDisks, kFiles };

class MachineAccess {
 public:
  MachineAccess();  // this machine
  explicit MachineAccess(Recording recording);
  ~MachineAccess();
  MachineAccess(const MachineAccess&) = delete;
  MachineAccess& operator=(const MachineAccess&) = delete;

  bool replaying() const { return recording_ != nullptr; }
  const Recording* recording() const { return recording_.get(); }
  // On this machine always; on a recording when it holds the part.
  bool Has(RecordedPart part) const;
  // In front of /sys, /proc, /etc, /run, /var and /dev: "" here, the recorded tree there.
  const std::string& root() const { return root_; }
  DiskCommands& disks();
  // Probe objects the binding creates from now on read the same machine.
  void Bind(ProbeBinding& binding);

 private:
  struct Replay;
  std::unique_ptr<Recording> recording_;
  std::unique_ptr<Replay> replay_;
  std::unique_ptr<DiskCommands> liveDisks_;
  std::string root_;
};

// "not recorded" for a part that a recording lacks: the text every view shows for it.
inline constexpr const char* kNotRecorded = "not recorded";

}  // namespace velora
