#pragma once
// The Feature page: one flag register at a time as 32 rows of name, description and "YES" or
// "NO", chosen by a button per register. The registers are read once, when the page is made.

#include <array>

#include "app/pages/inventory_page.h"
#include "info/feature_page_data.h"

class QPushButton;

namespace velora {

class FeaturePage : public InventoryPage {
  Q_OBJECT

 public:
  explicit FeaturePage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;

  const FeaturePageData& data() const { return data_; }
  void showTable(FeatureRegister reg);
  QPushButton* button(FeatureRegister reg) const { return buttons_[static_cast<size_t>(reg)]; }

 protected:
  PageView currentView() const override;

 private:
  FeaturePageData data_;
  std::array<QPushButton*, kFeatureRegisterCount> buttons_{};
};

}  // namespace velora
