#include "app/pages/system_page.h"

#include "core/main_window_model.h"
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
  recorded_ = ShowsRecording(context);
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

PageView SystemPage::currentView() const {
  if (!recorded_) return SystemPageView(data_, UiLanguage.load());
  // Who runs this program here, and where, says nothing of the recorded machine.
  SystemPageData shown = data_;
  const std::string missing = CaptionFor(kNotRecordedCaption, UiLanguage.load());
  for (std::string* field : {&shown.userName, &shown.homeDirectory, &shown.libraryDirectory})
    *field = missing;
  return SystemPageView(shown, UiLanguage.load());
}

void SystemPage::showEvent(QShowEvent* event) {
  timer_.start();
  InventoryPage::showEvent(event);
}

void SystemPage::hideEvent(QHideEvent* event) {
  timer_.stop();
  InventoryPage::hideEvent(event);
}

}  // namespace velora
