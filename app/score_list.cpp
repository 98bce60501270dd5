#include "app/score_list.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "bench/sub_test_cells.h"

namespace velora {
namespace {

constexpr int kListId = 1623;
constexpr int kNameSlots = 16;

struct ColumnRow {
  const char* heading;
  int percent;
};

struct ListColumns {
  ColumnRow column1;
  ColumnRow column2;  // no heading and 0 % when the test has no second column
};

// One row per test kind of the column table.
ListColumns ColumnsOf(int test) {
  switch (test) {
    case kTestMem:
    case kTestHdd: return {{"MB/s", 25}, {"Score", 20}};
    case kTestD2d: return {{"FPS", 25}, {"Score", 20}};
    case kTestOgl: return {{"", 25}, {"Score", 20}};
    default: return {{"Score", 45}, {nullptr, 0}};
  }
}

QTableWidgetItem* HeadingItem(const char* text, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(QString::fromUtf8(text));
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  return item;
}

}  // namespace

ScoreList::ScoreList(BenchEngine& engine, std::function<BenchResult()> record, QWidget* parent)
    : QWidget(parent), engine_(engine), record_(std::move(record)), table_(new QTableWidget(this)) {
  setObjectName("ScoreList");
  table_->setObjectName("list");
  table_->setProperty("controlId", kListId);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(table_);
}

void ScoreList::initialise() {
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(10);
  table_->setFont(font);
  // The list fills this widget; its client area is that less the list's frame. Read from the
  // geometry, since the layout has not run before the page is first shown.
  width_ = width() - 2 * table_->frameWidth();
  // A report view of today: full-row selection, grid lines, a header that says what each
  // column holds but neither sorts nor resizes.
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setShowGrid(true);
  table_->horizontalHeader()->setSectionsClickable(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setHighlightSections(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
  // Double-clicking a row does nothing.
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setColumnCount(1);
  table_->setHorizontalHeaderItem(0, HeadingItem("Item", Qt::AlignLeft));
  sizeColumns();
}

void ScoreList::sizeColumns() {
  const ListColumns columns = ColumnsOf(test_);
  table_->setColumnWidth(0, width_ * 55 / 100);
  if (table_->columnCount() > 1) table_->setColumnWidth(1, width_ * columns.column1.percent / 100);
  if (table_->columnCount() > 2) table_->setColumnWidth(2, width_ * columns.column2.percent / 100);
}

void ScoreList::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The shares follow the list's width as the window grows.
  if (width_ == 0) return;
  width_ = width() - 2 * table_->frameWidth();
  sizeColumns();
}

void ScoreList::clearRows() { table_->setRowCount(0); }

void ScoreList::fillScoreList(int test) {
  test_ = test;
  clearRows();
  table_->setColumnCount(1);
  const ListColumns columns = ColumnsOf(test);
  table_->setColumnCount(columns.column2.heading != nullptr ? 3 : 2);
  table_->setHorizontalHeaderItem(1, HeadingItem(columns.column1.heading, Qt::AlignRight));
  if (columns.column2.heading != nullptr) {
    table_->setHorizontalHeaderItem(2, HeadingItem(columns.column2.heading, Qt::AlignRight));
  }
  sizeColumns();

  const BenchResult record = record_();
  for (int i = 0; i < kNameSlots; ++i) {
    const std::string name = engine_.BenchString(test, i);
    if (name.empty()) continue;  // the engine has no such sub-test
    // Inserted at the sub-test's position, or at the end when earlier names were empty.
    const int row = std::min(i, table_->rowCount());
    table_->insertRow(row);
    auto* item = new QTableWidgetItem(QString::fromStdString(name));
    item->setData(Qt::UserRole, i);
    table_->setItem(row, 0, item);
    setCells(row, test, record, i);
  }
}

int ScoreList::rowOfSubTest(int subTest) const {
  for (int row = 0; row < table_->rowCount(); ++row) {
    const QTableWidgetItem* item = table_->item(row, 0);
    if (item != nullptr && item->data(Qt::UserRole).toInt() == subTest) return row;
  }
  return -1;
}

void ScoreList::setCells(int row, int test, const BenchResult& record, int subTest) {
  const auto t = static_cast<size_t>(test);
  const auto s = static_cast<size_t>(subTest);
  const SubTestCells cells = SubTestCellsOf(test, record.score[t][s], record.value[t][s]);
  const std::string* texts[2] = {&cells.column1, &cells.column2};
  for (int column = 1; column < table_->columnCount() && column <= 2; ++column) {
    auto* item = new QTableWidgetItem(QString::fromStdString(*texts[column - 1]));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->setItem(row, column, item);
  }
}

void ScoreList::showSubTest(int test, int subTest) {
  // A test without a tab of its own (MMT, D3D) runs while a neighbour's list is shown; its
  // numbers do not belong in that list's rows.
  if (test != test_ || subTest < 0 || subTest >= kNameSlots) return;
  const int row = rowOfSubTest(subTest);
  if (row < 0) return;
  setCells(row, test, record_(), subTest);
}

}  // namespace velora
