#pragma once
// The sub-test list inside the Mark page's tab control: one row per sub-test the engine names,
// with the value and score cells of the test shown.

#include <QWidget>
#include <functional>

#include "bench/bench_engine.h"
#include "bench/bench_result.h"

class QTableWidget;

namespace velora {

class ScoreList : public QWidget {
  Q_OBJECT

 public:
  // record gives a consistent copy of the result record.
  ScoreList(BenchEngine& engine, std::function<BenchResult()> record, QWidget* parent = nullptr);

  // Once the list has its size: the font, the styles and the "Item" column.
  void initialise();
  // Rows and columns of test, values from the record.
  void fillScoreList(int test);
  // Row subTest's cells from the record; only when the list shows test.
  void showSubTest(int test, int subTest);
  void clearRows();

  int shownTest() const { return test_; }
  QTableWidget* table() const { return table_; }
  int clientWidth() const { return width_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void sizeColumns();
  void setCells(int row, int test, const BenchResult& record, int subTest);
  int rowOfSubTest(int subTest) const;

  BenchEngine& engine_;
  std::function<BenchResult()> record_;
  QTableWidget* table_;
  int width_ = 0;
  int test_ = 0;
};

}  // namespace velora
