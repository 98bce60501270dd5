#pragma once
// "velora mark": which tests, where the scratch file goes, and the processor mask.

#include <optional>
#include <string>
#include <vector>

namespace velora {

struct MarkCommand {
  int test = 0;  // 0 a full run
  std::string hddDir;
  int hddSizeMb = 128;
  std::string mask;  // empty: leave the processor affinity alone
};

// Parses the words after "mark"; on failure error says why.
std::optional<MarkCommand> ParseMarkCommand(const std::vector<std::string>& words,
                                            std::string& error);

// The test id of a button name ("ALU" ... "OGL", "Mark"); -1 for a name that cannot run alone.
int TestOfName(const std::string& name);

// The help text of the front end.
const char* VeloraUsage();

}  // namespace velora
