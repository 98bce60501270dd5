#include "app/pages/pci_page.h"

#include <QHeaderView>
#include <QTableWidget>

namespace velora {

PciPage::PciPage(QWidget* parent) : InventoryPage(6, parent) {
  connect(view(), &PageViewWidget::rowClicked, this, [this](int, int row) { showRow(row); });
}

void PciPage::initialise(const PageContext& context) {
  if (context.probe != nullptr) data_ = ReadPciPageData(*context.probe);
  redraw();
  QTableWidget* table = view()->table(0);
  if (table == nullptr) return;
  // The list's widths are shares of its width; the names stand in the panel only.
  QHeaderView* header = table->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setStretchLastSection(false);
  const int width = table->viewport()->width() > 100 ? table->viewport()->width() : 600;
  for (int c = 1; c < kPciColumnCount; ++c) {
    const int share = kPciColumns[static_cast<size_t>(c)].widthShare;
    table->setColumnHidden(c - 1, share == 0);
    table->setColumnWidth(c - 1, width * share / 555);
  }
  if (table->rowCount() > 0) table->selectRow(0);
}

void PciPage::showRow(int row) {
  if (!ShowPciRow(data_, row)) return;
  redraw();
  if (QTableWidget* table = view()->table(0)) table->selectRow(row);
}

}  // namespace velora
