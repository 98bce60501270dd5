#include "app/pages/dll_page.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/ui_language.h"
#include "session/machine_pages.h"

namespace velora {

DllPage::DllPage(QWidget* parent) : Page(8, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(0);
  tabs_ = new QTabBar(this);
  tabs_->setObjectName("dll categories");
  tabs_->setExpanding(false);
  view_ = new PageViewWidget(this);
  layout->addWidget(tabs_);
  layout->addWidget(view_);
  layout->addStretch(1);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { selectCategory(index); });
}

void DllPage::initialise(const PageContext& context) {
  versionOf = LibraryVersionsOf(*context.machine);
  notRecorded_ = !Recorded(kDllPart, *context.machine);
  {
    const QSignalBlocker quiet(tabs_);
    for (int i = 0; i < kDllCategoryCount; ++i) tabs_->addTab(QString());
  }
  refreshLanguage();
  selectCategory(0);
}

void DllPage::refreshLanguage() {
  const bool english = UiLanguage.load() == kEnglish;
  for (int i = 0; i < tabs_->count() && i < kDllCategoryCount; ++i) {
    const DllCategory& category = DllCategories()[static_cast<size_t>(i)];
    tabs_->setTabText(i, QString::fromUtf8(english ? category.english : category.japanese));
  }
  // The versions' text follows the language.
  if (notRecorded_) FillDllCategory(data_, data_.category, versionOf);
  view_->show(DllPageView(data_, UiLanguage.load()));
}

void DllPage::selectCategory(int tab) {
  FillDllCategory(data_, tab, versionOf);
  if (tabs_->currentIndex() != data_.category) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(data_.category);
  }
  view_->show(DllPageView(data_, UiLanguage.load()));
  sizeColumns();
}

void DllPage::sizeColumns() {
  view_->setColumnLayout(0, {18, 45, 37}, {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft});
  QTableWidget* table = view_->table(0);
  if (table == nullptr) return;
  // The list is as tall as its rows, so the page's background shows below a short category.
  int height = 2 * table->frameWidth() + table->horizontalHeader()->sizeHint().height();
  for (int r = 0; r < table->rowCount(); ++r) height += table->rowHeight(r);
  // Room for a sideways scroll bar, should the names outgrow the width.
  height += table->horizontalScrollBar()->sizeHint().height();
  table->setFixedHeight(height);
}

}  // namespace velora
