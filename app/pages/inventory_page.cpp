#include "app/pages/inventory_page.h"

#include <QVBoxLayout>

#include "core/main_window_model.h"
#include "core/ui_language.h"

namespace velora {

InventoryPage::InventoryPage(int tabIndex, QWidget* parent) : Page(tabIndex, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  view_ = new PageViewWidget(scroll);
  scroll->setWidget(view_);
  // The page's own background, where the skin lands, shows through the scrolled area.
  view_->setAutoFillBackground(false);
  scroll->viewport()->setAutoFillBackground(false);
  layout->addWidget(scroll);
}

void InventoryPage::redraw() {
  if (!notRecorded_) {
    view_->show(currentView());
    return;
  }
  PageView missing;
  missing.name = caption().toStdString();
  missing.groups = {{"", {{missing.name, CaptionFor(kNotRecordedCaption, UiLanguage.load())}}}};
  view_->show(missing);
}

void InventoryPage::addControls(QWidget* controls) {
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, controls);
}

}  // namespace velora
