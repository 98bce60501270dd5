#pragma once
// The Feature page: one flag register at a time as 32 rows of name, description and "YES" or
// "NO", in two halves of 16 side by side, chosen by a button per register. The registers are
// read once, when the page is made.

#include <array>

#include "app/pages/page.h"
#include "info/feature_page_data.h"

class QLabel;
class QPushButton;

namespace velora {

constexpr int kFeatureRows = 32;
constexpr int kFeatureColumns = 3;

class FeaturePage : public Page {
  Q_OBJECT

 public:
  explicit FeaturePage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;
  void refreshLanguage() override { showTable(data_.shown); }

  const FeaturePageData& data() const { return data_; }
  void showTable(FeatureRegister reg);
  QPushButton* button(FeatureRegister reg) const { return buttons_[static_cast<size_t>(reg)]; }
  // The text of a bit's row: 0 name, 1 description, 2 "YES" or "NO".
  QLabel* cell(int bit, int column) const;

 private:
  FeaturePageData data_;
  // A recording without the processor's registers: every answer reads "not recorded".
  bool notRecorded_ = false;
  std::array<QPushButton*, kFeatureRegisterCount> buttons_{};
  std::array<std::array<QLabel*, kFeatureColumns>, kFeatureRows> cells_{};
};

}  // namespace velora
