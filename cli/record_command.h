#pragma once
// "velora record": this machine saved into a folder, for --from and for the usual Linux tools.

#include <optional>
#include <string>
#include <vector>

namespace velora {

struct RecordRequest {
  std::string folder;
  bool serials = false;
  bool help = false;
};

// Parses the words after "record"; on failure error says why.
std::optional<RecordRequest> ParseRecordCommand(const std::vector<std::string>& words,
                                                std::string& error);

// Records, telling on standard error what was recorded and what was not; the exit status
// (0 done, 1 the folder was refused or could not be written).
int RunRecord(const RecordRequest& request);

const char* RecordUsage();

}  // namespace velora
