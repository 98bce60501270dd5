#pragma once
// The words velora09 takes: --from (a recording to show instead of this machine), --help and
// --version. Anything else is left to the toolkit, which takes its own options.

#include <optional>
#include <string>
#include <vector>

namespace velora {

struct ProgramOptions {
  bool help = false;
  bool version = false;
  std::vector<std::string> from;  // in the order given
  // Indexes of the words left to the toolkit.
  std::vector<size_t> toolkitWords;
};

// nullopt with error for --from without a path.
std::optional<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& words,
                                                  std::string& error);

const char* ProgramUsage();

}  // namespace velora
