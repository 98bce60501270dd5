#include "app/qt_hosts.h"

#include "app/instance_raise.h"
#include "app/main_dialog.h"
#include "core/single_instance.h"

namespace velora {

QtApplicationHost::QtApplicationHost(const MainWindowContext& context, MachineAccess& machine)
    : context_(context), machine_(machine) {}

QtApplicationHost::~QtApplicationHost() = default;

void QtApplicationHost::RunMainWindow() {
  window_ = std::make_unique<MainDialog>(context_, machine_);
  if (!window_->initialise()) return;
  MainDialog* window = window_.get();
  // A window showing a recording stands beside the running one: a later start raises that one.
  std::unique_ptr<RaiseListener> listener;
  if (!machine_.replaying()) {
    listener = std::make_unique<RaiseListener>(RaiseSocketPath(InstanceLockPath()), [window] {
      window->showNormal();
      window->raise();
      window->activateWindow();
    });
  }
  window_->exec();
}

void QtApplicationHost::DestroyMainWindow() { window_.reset(); }

}  // namespace velora
