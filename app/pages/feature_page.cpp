#include "app/pages/feature_page.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/main_window_model.h"
#include "core/ui_language.h"
#include "session/machine_pages.h"

namespace velora {
namespace {

constexpr int kButtonsPerRow = 5;
constexpr int kHalf = kFeatureRows / 2;
constexpr std::array<const char*, kFeatureColumns> kHeadings{"Name", "Description", "Supported"};

}  // namespace

FeaturePage::FeaturePage(QWidget* parent) : Page(4, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);

  auto* buttons = new QGridLayout;
  buttons->setSpacing(4);
  for (int i = 0; i < kFeatureRegisterCount; ++i) {
    const auto reg = static_cast<FeatureRegister>(i);
    auto* button = new QPushButton(QString::fromUtf8(FeatureTableCaption(reg)), this);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    buttons->addWidget(button, i / kButtonsPerRow, i % kButtonsPerRow);
    connect(button, &QPushButton::clicked, this, [this, reg] { showTable(reg); });
    buttons_[static_cast<size_t>(i)] = button;
  }
  layout->addLayout(buttons);

  // Bits 0 to 15 on the left, 16 to 31 on the right, each half under its own headings.
  // Long descriptions wrap; should the rows still not fit, the halves scroll.
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* rows = new QWidget(scroll);
  auto* halves = new QGridLayout(rows);
  halves->setContentsMargins(0, 0, 0, 0);
  halves->setHorizontalSpacing(10);
  halves->setVerticalSpacing(1);
  for (int half = 0; half < 2; ++half) {
    const int left = half * (kFeatureColumns + 1);
    for (int c = 0; c < kFeatureColumns; ++c) {
      auto* heading = new QLabel(QString::fromUtf8(kHeadings[static_cast<size_t>(c)]), rows);
      QFont bold = heading->font();
      bold.setBold(true);
      heading->setFont(bold);
      heading->setAlignment(c == 2 ? Qt::AlignCenter : Qt::AlignLeft);
      halves->addWidget(heading, 0, left + c);
    }
    for (int r = 0; r < kHalf; ++r) {
      const int bit = half * kHalf + r;
      for (int c = 0; c < kFeatureColumns; ++c) {
        auto* label = new QLabel(rows);
        if (c == 1) label->setWordWrap(true);
        if (c == 2) label->setAlignment(Qt::AlignCenter);
        halves->addWidget(label, r + 1, left + c);
        cells_[static_cast<size_t>(bit)][static_cast<size_t>(c)] = label;
      }
    }
    halves->setColumnStretch(left + 1, 1);
  }
  auto* divider = new QFrame(rows);
  divider->setFrameShape(QFrame::VLine);
  divider->setFrameShadow(QFrame::Sunken);
  halves->addWidget(divider, 0, kFeatureColumns, kHalf + 1, 1);
  halves->setRowStretch(kHalf + 1, 1);
  scroll->setWidget(rows);
  // The page's own background, where the skin lands, shows through.
  rows->setAutoFillBackground(false);
  scroll->viewport()->setAutoFillBackground(false);
  layout->addWidget(scroll, 1);
}

void FeaturePage::initialise(const PageContext& context) {
  notRecorded_ = !Recorded(kFeaturePart, *context.machine);
  if (context.probe != nullptr && !notRecorded_) data_ = ReadFeaturePageData(*context.probe);
  showTable(FeatureRegister::kStandardEdx);
}

QLabel* FeaturePage::cell(int bit, int column) const {
  if (bit < 0 || bit >= kFeatureRows || column < 0 || column >= kFeatureColumns) return nullptr;
  return cells_[static_cast<size_t>(bit)][static_cast<size_t>(column)];
}

void FeaturePage::showTable(FeatureRegister reg) {
  ShowFeatureTable(data_, reg);
  button(reg)->setChecked(true);
  for (int bit = 0; bit < kFeatureRows; ++bit) {
    const bool known = static_cast<size_t>(bit) < data_.rows.size();
    const FeatureRow row = known ? data_.rows[static_cast<size_t>(bit)] : FeatureRow{};
    cell(bit, 0)->setText(QString::fromStdString(row.name));
    cell(bit, 1)->setText(QString::fromStdString(row.description));
    cell(bit, 2)->setText(QString::fromStdString(
        notRecorded_ ? CaptionFor(kNotRecordedCaption, UiLanguage.load()) : row.answer));
  }
}

}  // namespace velora
