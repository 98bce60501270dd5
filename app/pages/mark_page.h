#pragma once
// The Mark page: the run buttons with their score bars, the run options, the settings of the
// last full run and the sub-test list. The run itself is BenchRunner's; the page shows what the
// runner reports, on the GUI thread, and keeps the result record in its runner.

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/pages/page.h"
#include "bench/bench_engine.h"
#include "bench/bench_result.h"
#include "bench/bench_runner.h"
#include "bench/mark_page_data.h"
#include "bench/scratch_drives.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace velora {

class ScoreBar;
class ScoreList;
class ScreenStateCache;
class QtBenchObserver;

// What the page takes from the machine; tests put their own in.
struct MarkPageEnvironment {
  MarkPageEnvironment();

  int processorCount;
  std::function<std::vector<ScratchDrive>()> listDrives;
  std::string home;
  // The processor-mask list's selection; binds the whole process.
  std::function<bool(const std::string& maskText)> applyProcessorMask;
  // The host of the runs; null for the machine's own with the screen's mode.
  BenchHost* host = nullptr;
};

enum MarkControlId : int {
  kIdAluButton = 1537,
  kIdFpuButton = 1538,
  kIdMemButton = 1539,
  kIdMarkButton = 1540,
  kIdHddButton = 1541,
  kIdGdiButton = 1542,
  kIdMmtButton = 1543,
  kIdD2dButton = 1544,
  kIdD3dButton = 1545,
  kIdNetButton = 1546,
  kIdOglButton = 1547,
  kIdListTabs = 1610,
  kIdStopButton = 1626,
  kIdProcessorMaskList = 1633,
  kIdScratchDriveList = 1634,
  kIdScratchSizeList = 1635,
  kIdDisplayModeBox = 1752,
  kIdFontSmoothingBox = 1753,
};

class MarkPage : public Page {
  Q_OBJECT

 public:
  explicit MarkPage(BenchEngine& engine, MarkPageEnvironment environment = {},
                    QWidget* parent = nullptr);
  // A run in progress is stopped after its current sub-test and its worker joined here, before
  // any widget goes; the calls it still queued are dropped with the observer.
  ~MarkPage() override;

  void initialise(const PageContext& context) override;
  // The drive list's texts follow the language.
  void refreshLanguage() override;

  // The buttons' actions; test 0 is a full run.
  bool startRun(int test);
  void requestStop();
  // The window is closing: a run stops after its current sub-test.
  void stopForClose();
  bool running() const;

  // A consistent copy of the record, for the pages and reports that read it.
  BenchResult result() const;
  // The page as data: the record, the run state and the option lists.
  MarkPageData data() const;
  bool isRunComplete() const;

  void selectListTab(int tab);
  void selectListTabOfTest(int test);
  void showActiveColours();
  void showGreyColours();
  void setBarValue(int test, int value);
  void showSubTest(int test, int subTest);
  // Safe from any thread (the inventory collector switches the run buttons too).
  void setRunControlsEnabled(bool enable, bool includeStop);
  // A window showing a recording runs nothing: every run control stays disabled.
  bool benchmarkOff() const { return benchmarkOff_; }

  // The runner's reports, on the GUI thread.
  void setOptionListsEnabled(bool scratchLists, bool maskList);
  void showRunSettings(const std::string& displayMode, const std::string& fontSmoothing);
  // The Display Mode and Font Smoothing boxes as they stand.
  std::string displayModeText() const;
  std::string fontSmoothingText() const;
  void clearSubTestList();
  void showBusy(bool busy);
  void showRunMessage(const std::string& text);
  // Kept until the run ends, then shown together in one message.
  void noteFailedSubTest(const std::string& text);
  void finishRun();

  QWidget* control(int id) const;
  ScoreBar* bar(int test) const { return bars_[static_cast<size_t>(test)]; }
  ScoreList* scoreList() const { return scoreList_; }
  QTabBar* listTabs() const { return tabs_; }
  // The options the next run takes from the lists.
  RunOptions currentOptions() const;
  const std::vector<ScratchDrive>& scratchDrives() const { return drives_; }

  // Message boxes of a run; a test may answer them itself.
  std::function<void(const std::string& text)> showMessage;

 signals:
  // The runner is idle again and every report of the run has been shown.
  void runEnded();

 private:
  std::vector<std::string> failedSubTests_;
  void buildControls();
  void buildOptionLists(ProbeObject* probe);
  void fillDriveList();
  void registerControl(QWidget* widget, int id, const char* name);

  BenchEngine& engine_;
  MarkPageEnvironment environment_;
  MessageSink* messages_ = nullptr;

  std::map<int, QWidget*> controls_;
  std::array<ScoreBar*, kTestRows> bars_{};
  std::array<QPushButton*, kTestRows> buttons_{};
  QPushButton* stop_ = nullptr;
  QComboBox* maskList_ = nullptr;
  QComboBox* driveList_ = nullptr;
  QComboBox* sizeList_ = nullptr;
  QLineEdit* displayMode_ = nullptr;
  QLineEdit* fontSmoothing_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QWidget* listArea_ = nullptr;
  ScoreList* scoreList_ = nullptr;
  std::vector<ScratchDrive> drives_;
  int busy_ = 0;
  bool benchmarkOff_ = false;

  // Destroyed bottom-up: the runner (joining its worker) first, then the observer with the
  // calls still queued for this page, then the host the worker called.
  std::unique_ptr<ScreenStateCache> screen_;
  std::unique_ptr<BenchHost> ownHost_;
  std::unique_ptr<QtBenchObserver> observer_;
  std::unique_ptr<BenchRunner> runner_;
};

}  // namespace velora
