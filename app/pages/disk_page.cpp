#include "app/pages/disk_page.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>

#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "platform/linux/linux_disk_commands.h"

namespace velora {
namespace {

// Shares of twentieths of the list's width, column by column; 0 hides a column.
void SetShares(QTableWidget* table, const std::vector<int>& shares) {
  QHeaderView* header = table->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setStretchLastSection(false);
  const int width = table->viewport()->width() > 100 ? table->viewport()->width() : 600;
  for (size_t c = 0; c < shares.size() && static_cast<int>(c) < table->columnCount(); ++c) {
    table->setColumnHidden(static_cast<int>(c), shares[c] == 0);
    table->setColumnWidth(static_cast<int>(c), width * shares[c] / 20);
  }
}

}  // namespace

DiskPage::DiskPage(QWidget* parent) : InventoryPage(7, parent) {
  connect(view(), &PageViewWidget::rowClicked, this, [this](int table, int row) {
    if (table == 0) showRow(row);
  });
}

void DiskPage::initialise(const PageContext& context) {
  LinuxDiskCommands commands;
  DiskPageSources sources(commands);
  sources.safeMode = context.startupFlags && (context.startupFlags() & kSafeMode) != 0;
  if (context.log != nullptr)
    sources.log = [&](const std::string& line) { context.log->Write(line); };
  setData(ReadDiskPageData(sources));
}

void DiskPage::setData(DiskPageData data) {
  data_ = std::move(data);
  redraw();
  layOutTables();
}

void DiskPage::layOutTables() {
  if (QTableWidget* devices = view()->table(0)) {
    std::vector<int> shares;
    for (int c = 0; c < kDiskDataColumn; ++c) shares.push_back(kDiskColumns[c].widthShare);
    SetShares(devices, shares);
    if (devices->rowCount() > 0) devices->selectRow(data_.shownRow < 0 ? 0 : data_.shownRow);
  }
  // The mount point takes the place of a drive letter: wider than a letter's twentieth.
  if (QTableWidget* drives = view()->table(1)) SetShares(drives, {3, 5, 3, 3, 3, 3});
}

void DiskPage::showRow(int row) {
  if (!ShowDiskRow(data_, row)) return;
  redraw();
  if (QTableWidget* table = view()->table(0)) table->selectRow(row);
}

void DiskPage::resizeEvent(QResizeEvent* event) {
  InventoryPage::resizeEvent(event);
  QTimer::singleShot(0, this, &DiskPage::layOutTables);
}

void DiskPage::showEvent(QShowEvent* event) {
  InventoryPage::showEvent(event);
  QTimer::singleShot(0, this, &DiskPage::layOutTables);
}

PageView DiskPage::currentView() const { return DiskPageView(data_, UiLanguage.load()); }

}  // namespace velora
