#include "app/pages/pci_page.h"

#include <QTableWidget>

#include "session/machine_pages.h"

namespace velora {

PciPage::PciPage(QWidget* parent) : InventoryPage(6, parent) {
  // The list of functions, with the panel of the chosen one below it.
  view()->setTablesFirst(true);
  connect(view(), &PageViewWidget::rowClicked, this, [this](int, int row) { showRow(row); });
}

void PciPage::initialise(const PageContext& context) {
  setNotRecorded(!Recorded(kPciPart, *context.machine));
  if (context.probe != nullptr && !notRecorded()) data_ = ReadPciPageData(*context.probe);
  redraw();
  // The list's widths are shares of its width; the names stand in the panel only. The numbers
  // stand centred under their headings, the type name to the left.
  std::vector<int> shares;
  std::vector<Qt::Alignment> alignments;
  for (int c = 1; c < kPciColumnCount; ++c) {
    shares.push_back(kPciColumns[static_cast<size_t>(c)].widthShare);
    alignments.push_back(c <= 8 ? Qt::AlignHCenter : Qt::AlignLeft);
  }
  view()->setColumnLayout(0, shares, alignments);
  QTableWidget* table = view()->table(0);
  if (table == nullptr) return;
  if (table->rowCount() > 0) table->selectRow(0);
}

void PciPage::showRow(int row) {
  if (!ShowPciRow(data_, row)) return;
  redraw();
  if (QTableWidget* table = view()->table(0)) table->selectRow(row);
}

}  // namespace velora
