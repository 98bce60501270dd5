#include "core/startup_sequence.h"

#include "core/app_log.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/single_instance.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "platform/driver_link.h"
#include "probe/probe_id_table.h"

namespace velora {

int RunApplication(SingleInstanceGuard& guard, AppLog& log, ApplicationHost& host) {
  if (!guard.Acquire()) return 0;
  log.Write("Velora Execute Start");
  // The timer resolution needs no raising here: the monotonic clocks are fine-grained.
  host.RunMainWindow();
  guard.Release();
  log.Write("Velora Execute End");
  host.DestroyMainWindow();
  return 0;
}

bool InitialiseMainWindow(const MainWindowContext& context, MainWindowHost& host) {
  context.log.Write("Velora Initialize Start");
  context.log.Write("Probix.dll Init Start");
  if (!context.binding.Load(kStartupProbeFlags)) {
    host.ShowMessage(context.binding.MissingMessage(), context.programName);
    host.EndProcess(0);
    return false;
  }
  context.log.Write("Probix.dll Init OK!!");

  UiLanguage = LanguageFromSetting(context.settings.ReadSetting("Language"));

  ProbeObject* probe = context.binding.probe();
  if (probe != nullptr) {
    int32_t status = -1;
    probe->GetInt(probe_id::kDriverStatus, &status);
    if (status != kDriverOpen && status != kDriverNoDeviceAtIdentify) {
      host.ShowMessage("LoadDriver failure!", "Error");
    }
  }

  host.CreatePages(probe);
  if ((context.startupFlags() & kNoWmi) == 0) host.StartCollector();
  host.ShowFirstPage();
  context.log.Write("Velora Initialize OK!!");
  context.binding.Release();
  return true;
}

}  // namespace velora
