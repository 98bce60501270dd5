#include "app/pages/disk_page.h"

#include <QHeaderView>
#include <QTableWidget>

#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "session/machine_pages.h"

namespace velora {

DiskPage::DiskPage(QWidget* parent) : InventoryPage(7, parent) {
  connect(view(), &PageViewWidget::rowClicked, this, [this](int table, int row) {
    if (table == 0) showRow(row);
  });
}

void DiskPage::initialise(const PageContext& context) {
  const bool safeMode = context.startupFlags && (context.startupFlags() & kSafeMode) != 0;
  std::function<void(const std::string&)> log;
  if (context.log != nullptr) log = [to = context.log](const std::string& line) { to->Write(line); };
  setNotRecorded(!Recorded(kDiskPart, *context.machine));
  setData(notRecorded() ? DiskPageData{} : ReadDiskPage(*context.machine, safeMode, log));
}

void DiskPage::setData(DiskPageData data) {
  data_ = std::move(data);
  redraw();
  layOutTables();
}

void DiskPage::layOutTables() {
  // The model stands to the left, every figure centred.
  std::vector<int> shares;
  std::vector<Qt::Alignment> alignments;
  for (int c = 0; c < kDiskDataColumn; ++c) {
    shares.push_back(kDiskColumns[static_cast<size_t>(c)].widthShare);
    alignments.push_back(c == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
  }
  view()->setColumnLayout(0, shares, alignments);
  if (QTableWidget* devices = view()->table(0); devices != nullptr && devices->rowCount() > 0) {
    devices->selectRow(data_.shownRow < 0 ? 0 : data_.shownRow);
  }
  // The mount point takes the place of a drive letter: wider than a letter's twentieth.
  view()->setColumnLayout(1, {3, 5, 3, 3, 3, 3},
                          {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter,
                           Qt::AlignHCenter, Qt::AlignHCenter});
}

void DiskPage::showRow(int row) {
  if (!ShowDiskRow(data_, row)) return;
  redraw();
  if (QTableWidget* table = view()->table(0)) table->selectRow(row);
}

PageView DiskPage::currentView() const { return DiskPageView(data_, UiLanguage.load()); }

}  // namespace velora
