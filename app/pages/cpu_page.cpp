#include "app/pages/cpu_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "app/wide_combo.h"
#include "probe/probe_id_table.h"
#include "session/machine_pages.h"

namespace velora {

CpuPage::CpuPage(QWidget* parent) : InventoryPage(3, parent) {
  auto* bar = new QWidget(this);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 4, 6, 0);
  selector_ = new WideCombo(bar);
  selector_->setObjectName("processor selector");
  layout->addWidget(new QLabel(QStringLiteral("CPU"), bar));
  layout->addWidget(selector_);
  layout->addStretch(1);
  addControls(bar);
  // The operating system's line and the registers are too long to share a row.
  view()->setFieldsPerRow("OS", 1);
  connect(selector_, &QComboBox::activated, this, [this](int) {
    const int index = ProcessorIndexOfItem(selector_->currentText().toStdString());
    if (index >= 0 && selectProcessor(index)) emit processorChosen(index);
  });
}

void CpuPage::initialise(const PageContext& context) {
  probes_ = context.probes;
  machine_ = context.machine;
  setNotRecorded(!Recorded(kCpuPart, *machine_));
  if (context.probe != nullptr && !notRecorded()) data_ = ReadCpuPage(*context.probe, 0, *machine_);
  fillSelector();
  redraw();
}

bool CpuPage::selectProcessor(int index) {
  if (probes_ == nullptr || probes_->loaded() || notRecorded()) return false;
  // No part requested: the selection query below makes the processor part on that processor.
  if (!probes_->Load(0) || probes_->probe() == nullptr) {
    probes_->Release();
    return false;
  }
  ProbeObject& probe = *probes_->probe();
  int32_t mode = 0;
  probe.GetInt(probe_id::kCpuSelectProcessor + static_cast<uint32_t>(index), &mode);
  data_ = ReadCpuPage(probe, index, *machine_);
  probes_->Release();
  fillSelector();
  redraw();
  return true;
}

void CpuPage::fillSelector() {
  const QSignalBlocker quiet(selector_);
  selector_->clear();
  for (const std::string& item : data_.processors) selector_->addItem(QString::fromStdString(item));
  if (data_.selectedIndex < selector_->count()) selector_->setCurrentIndex(data_.selectedIndex);
}

}  // namespace velora
