#include "app/pages/page.h"

#include "core/main_window_model.h"

namespace velora {

Page::Page(int tabIndex, QWidget* parent) : QWidget(parent), tabIndex_(tabIndex) {
  setObjectName(QString::fromUtf8(kPages[static_cast<size_t>(tabIndex)].caption) + "Page");
}

QString Page::caption() const {
  return QString::fromUtf8(kPages[static_cast<size_t>(tabIndex_)].caption);
}

int Page::templateId() const { return kPages[static_cast<size_t>(tabIndex_)].templateId; }

void Page::initialise(const PageContext&) {}

}  // namespace velora
