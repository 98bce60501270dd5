#pragma once
// The order of the program's life: the single-instance guard, the log lines, the main window's
// initialisation around the probe library, and the end. The window side is reached through
// the host interfaces, so the order is the same with widgets and in tests.

#include <cstdint>
#include <functional>
#include <string>

#include "probe/probe_object.h"

namespace velora {

class AppLog;
class ProbeBinding;
class Settings;
class SingleInstanceGuard;

constexpr uint32_t kStartupProbeFlags = 0x700;

class ApplicationHost {
 public:
  virtual ~ApplicationHost() = default;
  // Constructs the main window and runs it until it closes.
  virtual void RunMainWindow() = 0;
  // Deletes the window and its pages.
  virtual void DestroyMainWindow() = 0;
};

// The process from the guard to the end; the exit code. A second instance returns 0 at once
// without writing anything.
int RunApplication(SingleInstanceGuard& guard, AppLog& log, ApplicationHost& host);

class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // Ends the process at once, without the shutdown steps. The program's version never
  // returns; a test's may.
  virtual void EndProcess(int exitCode) = 0;
  // Pages and tabs, title, template menus, skin and language; the probe may be null.
  virtual void CreatePages(ProbeObject* probe) = 0;
  virtual void StartCollector() = 0;
  virtual void ShowFirstPage() = 0;
};

struct MainWindowContext {
  ProbeBinding& binding;
  const Settings& settings;
  AppLog& log;
  // Asked when the collector is about to start, not before.
  std::function<uint32_t()> startupFlags;
  std::string programName;  // caption of the missing-library message
};

// The window's initialisation; false when it ended the process.
bool InitialiseMainWindow(const MainWindowContext& context, MainWindowHost& host);

}  // namespace velora
