// velora09: one window with eleven pages; the process ends when it closes.

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/instance_raise.h"
#include "app/program_options.h"
#include "app/qt_hosts.h"
#include "app/termination_signal.h"
#include "bench/scratch_folder.h"
#include "core/app_log.h"
#include "core/main_window_model.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/single_instance.h"
#include "core/startup_flags.h"
#include "core/visible_text.h"
#include "platform/app_paths.h"
#include "session/machine_access.h"
#include "session/recording.h"

namespace {

// The program's name and the words the toolkit is given; they live as long as the process.
struct ToolkitWords {
  ToolkitWords(char** argv, const std::vector<size_t>& indexes) {
    words.push_back(argv[0]);
    for (size_t i : indexes) words.push_back(argv[i + 1]);
    count = static_cast<int>(words.size());
    words.push_back(nullptr);
  }
  int count;
  std::vector<char*> words;
};

// The toolkit has taken its own options: whatever is left is no word of ours.
bool ToolkitLeftNothing(const ToolkitWords& toolkit) {
  if (toolkit.count <= 1) return true;
  std::fprintf(stderr, "velora09: unknown option %s\n\n%s",
               velora::EscapedForTerminal(toolkit.words[1]).c_str(), velora::ProgramUsage());
  return false;
}

// A recording, shown beside any running window: no instance guard, and neither the settings
// file nor the log is written, since both belong to the running one.
int ShowRecording(velora::Recording recording, ToolkitWords& toolkit) {
  using namespace velora;
  MachineAccess machine(std::move(recording));
  QApplication app(toolkit.count, toolkit.words.data());
  if (!ToolkitLeftNothing(toolkit)) return 2;
  TerminationSignal termination;
  SingleInstanceGuard unguarded("");
  const Settings settings = Settings::ReadOnly(settingsPath());
  AppLog nowhere("");
  ProbeBinding binding(programFolder());
  MainWindowContext context{binding, settings, nowhere, startupFlags,
                            ProgramNameOf(ProgramFilePath())};
  QtApplicationHost host(context, machine);
  return RunApplication(unguarded, nowhere, host);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velora;
  std::string error;
  const auto options = ParseProgramOptions({argv + 1, argv + argc}, error);
  if (!options) {
    std::fprintf(stderr, "velora09: %s\n\n%s", error.c_str(), ProgramUsage());
    return 2;
  }
  if (options->help) {
    std::fputs(ProgramUsage(), stdout);
    return 0;
  }
  if (options->version) {
    std::printf("velora09 %s\n", kCoreVersion);
    return 0;
  }
  ToolkitWords toolkit(argv, options->toolkitWords);
  if (!options->from.empty()) {
    // Read before any window: a recording that cannot be shown ends the start here.
    Recording recording;
    if (!LoadRecording(options->from, recording, error)) {
      std::fprintf(stderr, "velora09: %s\n", EscapedForTerminal(error).c_str());
      return 2;
    }
    return ShowRecording(std::move(recording), toolkit);
  }

  // The guard comes before anything that could show a window or touch the log.
  SingleInstanceGuard guard;
  if (!guard.Acquire()) {
    QCoreApplication asking(argc, argv);
    const bool raised = AskRunningInstanceToRaise(RaiseSocketPath(InstanceLockPath()));
    std::fputs(raised ? "velora09: already running for this user; its window is brought to the "
                        "front and this start ends\n"
                      : "velora09: already running for this user, but its window did not answer; "
                        "this start ends\n",
               stderr);
    return 0;
  }
  // A lost display connection ends the process through exit() inside the toolkit; the HDD
  // test's scratch folder must not outlive it.
  std::atexit(RemoveScratchFoldersNow);

  QApplication app(toolkit.count, toolkit.words.data());
  if (!ToolkitLeftNothing(toolkit)) return 2;
  TerminationSignal termination;
  Settings settings = ProgramSettings();
  ProbeBinding binding(programFolder());
  MainWindowContext context{binding, settings, ProgramLog(), startupFlags,
                            ProgramNameOf(ProgramFilePath())};
  MachineAccess here;
  QtApplicationHost host(context, here);
  return RunApplication(guard, ProgramLog(), host);
}

// Fontconfig keeps caches for the life of the process that the leak checker of the sanitizer
// build would report at every exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
