// velora09: one window with eleven pages; the process ends when it closes.

#include <QApplication>

#include "app/qt_hosts.h"
#include "app/termination_signal.h"
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
  if (!guard.Acquire()) return 0;

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
