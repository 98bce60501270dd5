#pragma once
// Draws a page's data: each group a framed box of labelled read-only fields (feature labels as
// labels that are enabled or greyed), each table a list. Showing new data keeps the widgets and
// changes only the texts that differ, so nothing flickers.

#include <QWidget>
#include <map>
#include <vector>

#include "info/page_view.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class QGridLayout;
class QGroupBox;

namespace velora {

class PageViewWidget : public QWidget {
  Q_OBJECT

 public:
  // columns: how many label/field pairs share a row inside a group box.
  explicit PageViewWidget(QWidget* parent = nullptr, int columns = 2);

  // The first call builds the widgets; later calls with the same shape update texts only.
  void show(const PageView& view);

  // The group whose first field has this label sets perRow fields to a row instead; called
  // before the first data is shown.
  void setFieldsPerRow(const std::string& firstLabel, int perRow);

  // The lists above the groups rather than below; called before the first data is shown.
  void setTablesFirst(bool first);

  QTableWidget* table(size_t index) const;
  // A table's columns as shares of its width (a share of 0 hides the column), each at least as
  // wide as its heading and cells, and how each column aligns its cells. They hold from the
  // next data shown on, and the widths follow the table's width.
  void setColumnLayout(size_t table, std::vector<int> shares,
                       std::vector<Qt::Alignment> alignments);
  // The field with this group title and label; null when there is none.
  QLineEdit* field(const std::string& group, const std::string& label) const;
  QLabel* flag(const std::string& label) const;

 signals:
  void rowClicked(int table, int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A group's label and field pairs, wanted perRow to a row, placed so many now.
  struct FieldGrid {
    QGroupBox* box;
    QGridLayout* grid;
    std::vector<std::pair<QLabel*, QLineEdit*>> pairs;
    int wanted;
    int placed;
  };
  struct ColumnLayout {
    std::vector<int> shares;
    std::vector<Qt::Alignment> alignments;
  };
  void build(const PageView& view);
  void sizeColumns(size_t table);
  void place(FieldGrid& group, int perRow);
  int widthAt(const FieldGrid& group, int perRow) const;
  void reflow();
  Qt::Alignment alignmentOf(size_t table, size_t column) const;

  int columns_;
  PageView shown_;
  std::vector<std::vector<QWidget*>> fieldWidgets_;
  std::vector<std::vector<QLabel*>> fieldCaptions_;
  std::vector<QTableWidget*> tables_;
  std::map<size_t, ColumnLayout> columnLayouts_;
  std::map<std::string, int> perRow_;
  std::vector<FieldGrid> fieldGrids_;
  bool followingParent_ = false;
  bool tablesFirst_ = false;
  bool built_ = false;
};

}  // namespace velora
