#include "app/result_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/score_bar.h"

namespace velora {

const std::array<int, kTestRows> kResultBarIds{1754, 1755, 1756, 1757, 1758, 1759,
                                               1760, 1761, 1762, 1763, 1764};

namespace {

// Bar labels by test id; the two averages read over three lines.
constexpr std::array<const char*, kTestRows> kBarLabels{"Mark",          "ALU", "FPU", "MEM", "HDD",
                                                        "MEM\nR/W\nAVG", "GDI", "D2D", "D3D", "OGL",
                                                        "HDD\nR/W\nAVG"};

// The order the bars stand in, top to bottom.
constexpr std::array<int, kTestRows> kBarOrder{0, 1, 2, 3, 4, 6, 7, 8, 9, 5, 10};

QString Qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ResultDialog::ResultDialog(const ResultSummary& s, const QString& title, double opacity,
                           QWidget* parent)
    : QDialog(parent) {
  setObjectName("ResultDialog");
  setProperty("templateId", kResultTemplateId);
  setWindowTitle(title);
  if (opacity < 1.0) setWindowOpacity(opacity);

  auto* bars = new QGridLayout;
  bars->setVerticalSpacing(2);
  int row = 0;
  for (int test : kBarOrder) {
    const SummaryBar& data = s.bars[static_cast<size_t>(test)];
    auto* label = new QLabel(QString::fromUtf8(kBarLabels[static_cast<size_t>(test)]));
    auto* bar = new ScoreBar;
    bar->setObjectName(QString("bar%1").arg(kResultBarIds[static_cast<size_t>(test)]));
    bar->setProperty("controlId", kResultBarIds[static_cast<size_t>(test)]);
    bar->setFontSize(data.fontSize);
    bar->setMaximum(data.maximum);
    bar->setValue(data.value);
    bar->setText(Qs(data.text));
    bar->setColours(s.active ? kActiveBarColours : kGreyBarColours);
    // The height follows the bar's own font: a fixed one would cut the digits at another font.
    bar->setMinimumWidth(260);
    bars_[static_cast<size_t>(test)] = bar;
    if (data.hidden) {
      label->hide();
      bar->hide();
      continue;
    }
    bars->addWidget(label, row, 0);
    bars->addWidget(bar, row, 1);
    ++row;
  }

  auto* fields = new QGridLayout;
  fields->setVerticalSpacing(2);
  int line = 0;
  auto addField = [&](int id, const std::string& text) {
    auto* edit = new QLineEdit(Qs(text));
    edit->setReadOnly(true);
    edit->setObjectName(QString("field%1").arg(id));
    edit->setProperty("controlId", id);
    edit->setCursorPosition(0);
    fields_[id] = edit;
    return edit;
  };
  auto addRow = [&](const char* label, int id, const std::string& text, int unitId = 0,
                    const std::string& unitText = {}, const char* unit = nullptr) {
    fields->addWidget(new QLabel(QString::fromUtf8(label)), line, 0);
    if (unitId == 0) {
      fields->addWidget(addField(id, text), line, 1, 1, 3);
    } else {
      fields->addWidget(addField(id, text), line, 1);
      QLineEdit* size = addField(unitId, unitText);
      size->setMaximumWidth(56);
      fields->addWidget(size, line, 2);
      fields->addWidget(new QLabel(QString::fromUtf8(unit)), line, 3);
    }
    ++line;
  };
  addRow("OS", kIdResultOsField, s.os);
  addRow("CPU", kIdResultCpuField, s.cpu);
  addRow("", kIdResultClockField, s.clockLine);
  addRow("Chipset", kIdResultChipsetField, s.chipSet);
  addRow("Mother", kIdResultMotherField, s.mother);
  addRow("Video", kIdResultVideoField, s.video, kIdResultVideoMbField, s.videoMb, "MB");
  addRow("Memory", kIdResultMemoryField, s.memory, kIdResultMemoryMbField, s.memoryMb, "MB");
  addRow("HDD", kIdResultDiskField, s.disk, kIdResultDiskGbField, s.diskGb, "GB");
  diskLabel_ = qobject_cast<QLabel*>(fields->itemAtPosition(line - 1, 0)->widget());
  diskLabel_->setText(Qs(s.diskLabel));
  diskLabel_->setProperty("controlId", kIdResultDiskLabel);
  addRow("Display Mode", kIdResultDisplayModeField, s.displayMode);
  addRow("", kIdResultFontSmoothingField, s.fontSmoothing);
  addRow("DirectX", kIdResultDirectXField, s.directX);
  fields->setColumnStretch(1, 1);

  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok);
  ok->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* columns = new QHBoxLayout;
  columns->addLayout(bars, 2);
  columns->addLayout(fields, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(ok);
  setMinimumWidth(780);
}

QString ResultDialog::fieldText(int id) const {
  const auto found = fields_.find(id);
  return found == fields_.end() ? QString() : found->second->text();
}

}  // namespace velora
