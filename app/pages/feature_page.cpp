#include "app/pages/feature_page.h"

#include <QGridLayout>
#include <QPushButton>

namespace velora {

FeaturePage::FeaturePage(QWidget* parent) : InventoryPage(4, parent) {
  auto* bar = new QWidget(this);
  auto* grid = new QGridLayout(bar);
  grid->setContentsMargins(6, 4, 6, 0);
  grid->setSpacing(4);
  constexpr int kButtonsPerRow = 5;
  for (int i = 0; i < kFeatureRegisterCount; ++i) {
    const auto reg = static_cast<FeatureRegister>(i);
    auto* button = new QPushButton(QString::fromUtf8(FeatureTableCaption(reg)), bar);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    grid->addWidget(button, i / kButtonsPerRow, i % kButtonsPerRow);
    connect(button, &QPushButton::clicked, this, [this, reg] { showTable(reg); });
    buttons_[static_cast<size_t>(i)] = button;
  }
  addControls(bar);
}

void FeaturePage::initialise(const PageContext& context) {
  if (context.probe != nullptr) data_ = ReadFeaturePageData(*context.probe);
  showTable(FeatureRegister::kStandardEdx);
}

void FeaturePage::showTable(FeatureRegister reg) {
  ShowFeatureTable(data_, reg);
  button(reg)->setChecked(true);
  redraw();
}

PageView FeaturePage::currentView() const {
  PageView view;
  view.name = "Feature";
  PageTable table{FeatureTableCaption(data_.shown), {"Name", "Description", ""}, {}};
  for (const FeatureRow& row : data_.rows) {
    table.rows.push_back({row.name, row.description, row.answer});
  }
  view.tables.push_back(std::move(table));
  return view;
}

}  // namespace velora
