#pragma once
// The CPU page: what the probe found about the selected logical processor. Choosing another
// processor loads the probe library again, identifies that processor and releases the library.

#include "app/pages/inventory_page.h"
#include "core/probe_binding.h"
#include "info/cpu_page_data.h"

class QComboBox;

namespace velora {

class CpuPage : public InventoryPage {
  Q_OBJECT

 public:
  explicit CpuPage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;

  const CpuPageData& data() const { return data_; }
  QComboBox* selector() const { return selector_; }
  // Identifies logical processor index (0-based) and shows it; false without a probe library.
  bool selectProcessor(int index);

 signals:
  // After another processor was identified: the pages that show processor data refresh.
  void processorChosen(int index);

 protected:
  PageView currentView() const override { return CpuPageView(data_); }

 private:
  void fillSelector();

  CpuPageData data_;
  const MachineAccess* machine_ = nullptr;
  ProbeBinding* probes_ = nullptr;
  QComboBox* selector_;
};

}  // namespace velora
