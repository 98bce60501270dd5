#pragma once
// The PCI page: one row per function the probe found, and the row last clicked in the panel.

#include "app/pages/inventory_page.h"
#include "info/pci_page_data.h"

namespace velora {

class PciPage : public InventoryPage {
  Q_OBJECT

 public:
  explicit PciPage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;

  const PciPageData& data() const { return data_; }
  // A row outside the list changes nothing.
  void showRow(int row);

 protected:
  PageView currentView() const override { return PciPageView(data_); }

 private:
  PciPageData data_;
};

}  // namespace velora
