#pragma once
// Recording this machine into a folder: what the collectors read, in the formats the usual
// Linux tools write, so that `--from` (and those tools) read it back. Serial numbers, UUIDs and
// MAC addresses are left out unless asked for, so a recording is safe to post.

#include <atomic>
#include <string>
#include <vector>

namespace velora {

struct RecordOptions {
  bool serials = false;
  // Set from a signal handler: the run stops at the next part and removes what it wrote.
  const std::atomic<bool>* stop = nullptr;
};

struct RecordOutcome {
  std::vector<std::string> recorded;     // "cpuid.txt: 2 processors", ...
  std::vector<std::string> notRecorded;  // as the manifest names them, "smbios: ..."
  bool removed = false;  // the run failed after it began writing, and took all away again
};

// folder must not exist (it is made) or be an empty folder, and must not be a link. False with
// error when it is refused or something could not be written; what this run made is then
// removed, and no file stands half-written under its name.
bool RecordMachine(const std::string& folder, const RecordOptions& options,
                   RecordOutcome& outcome, std::string& error);

}  // namespace velora
