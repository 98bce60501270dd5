#pragma once
// A drop-down list whose open list is as wide as its longest entry, however narrow the box:
// entries are never cut short in the list the user picks from.

#include <QComboBox>

namespace velora {

class WideCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit WideCombo(QWidget* parent = nullptr) : QComboBox(parent) {}
  void showPopup() override;
};

}  // namespace velora
