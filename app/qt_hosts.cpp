#include "app/qt_hosts.h"

#include "app/instance_raise.h"
#include "app/main_dialog.h"
#include "core/single_instance.h"

namespace velora {

QtApplicationHost::QtApplicationHost(const MainWindowContext& context) : context_(context) {}

QtApplicationHost::~QtApplicationHost() = default;

void QtApplicationHost::RunMainWindow() {
  window_ = std::make_unique<MainDialog>(context_);
  if (!window_->initialise()) return;
  MainDialog* window = window_.get();
  RaiseListener listener(RaiseSocketPath(InstanceLockPath()), [window] {
    window->showNormal();
    window->raise();
    window->activateWindow();
  });
  window_->exec();
}

void QtApplicationHost::DestroyMainWindow() { window_.reset(); }

}  // namespace velora
