#pragma once
// The Result dialog: the last run's scores as bars and the machine as the Ranking form describes
// it, on one screen to share. Built anew from a summary at every opening.

#include <QDialog>
#include <array>
#include <map>

#include "bench/bench_result.h"
#include "ranking/result_summary.h"

class QLabel;
class QLineEdit;

namespace velora {

class ScoreBar;

enum ResultDialogId : int {
  kResultTemplateId = 156,
  kIdResultMarkBar = 1754,
  kIdResultOsField = 1773,
  kIdResultCpuField = 1766,
  kIdResultClockField = 1778,
  kIdResultChipsetField = 1774,
  kIdResultMotherField = 1770,
  kIdResultVideoField = 1768,
  kIdResultVideoMbField = 1777,
  kIdResultMemoryField = 1771,
  kIdResultMemoryMbField = 1775,
  kIdResultDiskLabel = 1791,
  kIdResultDiskField = 1772,
  kIdResultDiskGbField = 1776,
  kIdResultDisplayModeField = 1779,
  kIdResultFontSmoothingField = 1780,
  kIdResultDirectXField = 1781,
};

// The bar id of each test id: 1759 and 1764 stand in the MMT and NET places.
extern const std::array<int, kTestRows> kResultBarIds;

class ResultDialog : public QDialog {
  Q_OBJECT

 public:
  // opacity: 1 for an opaque dialog, else the main window's translucency.
  ResultDialog(const ResultSummary& summary, const QString& title, double opacity = 1.0,
               QWidget* parent = nullptr);

  ScoreBar* bar(int test) const { return bars_[static_cast<size_t>(test)]; }
  QString fieldText(int id) const;
  QLabel* diskLabel() const { return diskLabel_; }

 private:
  std::array<ScoreBar*, kTestRows> bars_{};
  std::map<int, QLineEdit*> fields_;
  QLabel* diskLabel_ = nullptr;
};

}  // namespace velora
