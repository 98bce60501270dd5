#include "app/pages/system_page.h"

#include "core/ui_language.h"
#include "session/machine_pages.h"

namespace velora {

namespace {
constexpr int kTickMs = 100;
}

SystemPage::SystemPage(QWidget* parent) : InventoryPage(2, parent) {
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &SystemPage::tick);
}

void SystemPage::initialise(const PageContext& context) {
  machine_ = context.machine;
  ReadSystemPageOnce(data_, *machine_);
  tick();
}

void SystemPage::tick() {
  if (machine_ != nullptr) RefreshSystemPage(data_, *machine_);
  redraw();
}

void SystemPage::applyInventory(const InventoryFields& fields) {
  ApplyInventoryToSystemPage(data_, fields);
}

PageView SystemPage::currentView() const { return SystemPageView(data_, UiLanguage.load()); }

void SystemPage::showEvent(QShowEvent* event) {
  timer_.start();
  InventoryPage::showEvent(event);
}

void SystemPage::hideEvent(QHideEvent* event) {
  timer_.stop();
  InventoryPage::hideEvent(event);
}

}  // namespace velora
