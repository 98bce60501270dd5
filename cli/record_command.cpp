#include "cli/record_command.h"

#include <signal.h>

#include <atomic>
#include <cstdio>

#include "session/record_machine.h"

namespace velora {

namespace {

std::atomic<bool> stopRequested{false};

void OnStop(int) { stopRequested.store(true); }

}  // namespace

std::optional<RecordRequest> ParseRecordCommand(const std::vector<std::string>& words,
                                                std::string& error) {
  RecordRequest request;
  for (const std::string& word : words) {
    if (word == "--with-serials") {
      request.serials = true;
    } else if (word == "--help" || word == "-h") {
      request.help = true;
    } else if (!word.empty() && word[0] == '-') {
      error = "record: unknown option " + word;
      return std::nullopt;
    } else if (request.folder.empty()) {
      request.folder = word;
    } else {
      error = "record: one folder only (" + request.folder + ", " + word + ")";
      return std::nullopt;
    }
  }
  if (request.folder.empty() && !request.help) {
    error = "record: which folder? (velora record DIR)";
    return std::nullopt;
  }
  return request;
}

int RunRecord(const RecordRequest& request) {
  // A stop ends the run at the next part, which then removes what it wrote.
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);

  RecordOptions options;
  options.serials = request.serials;
  options.stop = &stopRequested;
  RecordOutcome outcome;
  std::string error;
  const bool done = RecordMachine(request.folder, options, outcome, error);
  for (const std::string& part : outcome.recorded)
    std::fprintf(stderr, "recorded      %s\n", part.c_str());
  for (const std::string& part : outcome.notRecorded)
    std::fprintf(stderr, "not recorded  %s\n", part.c_str());
  if (!done) {
    std::fprintf(stderr, "velora: %s%s\n", error.c_str(),
                 outcome.removed ? "; nothing was kept" : "");
    return 1;
  }
  std::fprintf(stderr, "%s: recorded%s\n", request.folder.c_str(),
               request.serials ? " with serial numbers and MAC addresses" : "");
  return 0;
}

const char* RecordUsage() {
  return "       velora record DIR [--with-serials]\n"
         "\n"
         "record        saves this machine into DIR (a new folder, or an empty one) for\n"
         "              velora info and report --from DIR, in the forms the usual tools read:\n"
         "              cpuid.txt (cpuid -r), lspci.txt (lspci -xxxx), smbios.bin (dmidecode\n"
         "              --dump-bin), disks/ (hdparm --Istdin, NVMe identify blocks), root/ (the\n"
         "              system files read) and manifest.json (when, by what, and what could not\n"
         "              be read and why). Serial numbers, UUIDs and MAC addresses are left out\n"
         "              unless --with-serials is given. Exit status 0 done, 1 DIR refused or\n"
         "              not written (nothing is left behind), 2 wrong words.\n";
}

}  // namespace velora
