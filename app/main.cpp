// velora09: one window with eleven pages; the process ends when it closes.

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "app/instance_raise.h"
#include "app/qt_hosts.h"
#include "app/termination_signal.h"
#include "bench/scratch_folder.h"
#include "core/app_log.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/single_instance.h"
#include "core/startup_flags.h"
#include "platform/app_paths.h"

int main(int argc, char** argv) {
  using namespace velora;
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

  QApplication app(argc, argv);
  TerminationSignal termination;
  Settings settings = ProgramSettings();
  ProbeBinding binding(programFolder());
  MainWindowContext context{binding, settings, ProgramLog(), startupFlags,
                            ProgramNameOf(ProgramFilePath())};
  QtApplicationHost host(context);
  return RunApplication(guard, ProgramLog(), host);
}

// Fontconfig keeps caches for the life of the process that the leak checker of the sanitizer
// build would report at every exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
