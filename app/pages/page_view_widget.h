#pragma once
// Draws a page's data: each group a framed box of labelled read-only fields (feature labels as
// labels that are enabled or greyed), each table a list. Showing new data keeps the widgets and
// changes only the texts that differ, so nothing flickers.

#include <QWidget>
#include <vector>

#include "info/page_view.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class QGridLayout;

namespace velora {

class PageViewWidget : public QWidget {
  Q_OBJECT

 public:
  // columns: how many label/field pairs share a row inside a group box.
  explicit PageViewWidget(QWidget* parent = nullptr, int columns = 2);

  // The first call builds the widgets; later calls with the same shape update texts only.
  void show(const PageView& view);

  QTableWidget* table(size_t index) const;
  // The field with this group title and label; null when there is none.
  QLineEdit* field(const std::string& group, const std::string& label) const;
  QLabel* flag(const std::string& label) const;

 signals:
  void rowClicked(int table, int row);

 private:
  void build(const PageView& view);

  int columns_;
  PageView shown_;
  std::vector<std::vector<QWidget*>> fieldWidgets_;
  std::vector<std::vector<QLabel*>> fieldCaptions_;
  std::vector<QTableWidget*> tables_;
  bool built_ = false;
};

}  // namespace velora
