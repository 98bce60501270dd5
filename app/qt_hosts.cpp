#include "app/qt_hosts.h"

#include "app/main_dialog.h"

namespace velora {

QtApplicationHost::QtApplicationHost(const MainWindowContext& context) : context_(context) {}

QtApplicationHost::~QtApplicationHost() = default;

void QtApplicationHost::RunMainWindow() {
  window_ = std::make_unique<MainDialog>(context_);
  if (!window_->initialise()) return;
  window_->exec();
}

void QtApplicationHost::DestroyMainWindow() { window_.reset(); }

}  // namespace velora
