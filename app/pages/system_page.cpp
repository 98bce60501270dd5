#include "app/pages/system_page.h"

#include <ctime>

#include "core/ui_language.h"

namespace velora {

namespace {
constexpr int kTickMs = 100;
}

SystemPage::SystemPage(QWidget* parent) : InventoryPage(2, parent) {
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &SystemPage::tick);
}

void SystemPage::initialise(const PageContext&) {
  FillSystemPageOnce(data_, IdentifyOperatingSystem(), ReadFixedSystemFacts());
  tick();
}

void SystemPage::tick() {
  RefreshSystemPageLive(data_, ReadMemoryStatus(), std::time(nullptr), ReadUpTimeSeconds());
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
