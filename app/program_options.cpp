#include "app/program_options.h"

namespace velora {

std::optional<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& words,
                                                  std::string& error) {
  ProgramOptions options;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--help" || word == "-h") {
      options.help = true;
    } else if (word == "--version") {
      options.version = true;
    } else if (word == "--from") {
      if (i + 1 >= words.size() || words[i + 1].empty()) {
        error = "--from needs a recording (a folder or a file)";
        return std::nullopt;
      }
      options.from.push_back(words[++i]);
    } else if (word.rfind("--from=", 0) == 0 && word.size() > 7) {
      options.from.push_back(word.substr(7));
    } else {
      options.toolkitWords.push_back(i);
    }
  }
  return options;
}

const char* ProgramUsage() {
  return "usage: velora09 [--from PATH ...]\n"
         "       velora09 --help | --version\n"
         "\n"
         "Opens the window on this machine: the benchmark and the System, CPU, Feature,\n"
         "Device, PCI, Disk and DLL pages.\n"
         "--from shows a recorded machine instead: a folder made by velora record, a folder\n"
         "holding smbios_entry_point and DMI, or a file of CPUID, PCI, SMBIOS or IDENTIFY\n"
         "data (the kinds velora info --from reads); give it once per file. The title names\n"
         "the recording, the benchmark stays off, what the recording lacks reads \"not\n"
         "recorded\", and the window runs beside a running one without writing its settings\n"
         "or its log.\n";
}

}  // namespace velora
