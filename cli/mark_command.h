#pragma once
// "velora mark": which tests, where the scratch file goes, and the processor mask.

#include <optional>
#include <string>
#include <vector>

#include "cli/submit_command.h"

namespace velora {

struct MarkCommand {
  std::vector<int> tests{0};  // in the order given; {0} a full run
  std::string hddDir;
  int hddSizeMb = 128;
  std::string mask;      // empty: leave the processor affinity alone
  bool help = false;     // --help: show the usage and run nothing
  SubmitRequest submit;  // --submit, --submit-dry-run, --form KEY=VALUE
  bool json = false;     // the result record as JSON instead of the result block
  // --report FILE: a report written after the run, --html and --template choosing it.
  std::string reportFile;
  bool reportHtml = false;
  std::string reportTemplate;
};

// Parses the words after "mark" for a machine of processorCount processors; on failure error
// says why, in language.
std::optional<MarkCommand> ParseMarkCommand(const std::vector<std::string>& words,
                                            int processorCount, int language, std::string& error);

// The test id of a button name ("ALU" ... "OGL", "Mark"); -1 for a name that cannot run alone.
int TestOfName(const std::string& name);

}  // namespace velora
