#include "app/pages/mark_page.h"

#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QThread>
#include <cstdlib>

#include "app/dialog_units.h"
#include "app/qt_bench_observer.h"
#include "app/queued_call.h"
#include "app/score_bar.h"
#include "app/score_list.h"
#include "app/wide_combo.h"
#include "app/screen_state.h"
#include "bench/linux_bench_host.h"
#include "bench/list_tabs.h"
#include "bench/processor_mask.h"
#include "core/ui_language.h"
#include "probe/probe_id_table.h"

namespace velora {
namespace {

struct RunRow {
  int test;
  int buttonId;
  const char* caption;
  int barId;
  bool shown;  // MMT, D3D and .NET keep their controls hidden and disabled
};

// By test id; the "Mark" row holds the overall score.
constexpr std::array<RunRow, kTestRows> kRunRows{{
    {kTestOverall, 1540, "Mark", 1620, true},
    {kTestAlu, 1537, "ALU", 1611, true},
    {kTestFpu, 1538, "FPU", 1612, true},
    {kTestMem, 1539, "MEM", 1613, true},
    {kTestHdd, 1541, "HDD", 1614, true},
    {kTestMmt, 1543, "MMT", 1616, false},
    {kTestGdi, 1542, "GDI", 1615, true},
    {kTestD2d, 1544, "D2D", 1617, true},
    {kTestD3d, 1545, "D3D", 1618, false},
    {kTestOgl, 1547, "OGL", 1621, true},
    {kTestNet, 1546, ".NET", 1619, false},
}};

// Sizes in dialog units. The shown rows stack from the top in test order, each a button with
// its bar; the options stand in a column on the right; the list's tab control fills the foot
// and takes whatever height the window gains.
constexpr int kMargin = 6;
constexpr int kRowGap = 2;
constexpr int kButtonWidth = 36;
constexpr int kRowHeight = 22;
constexpr int kBarWidth = 182;
constexpr int kOptionWidth = 124;
constexpr int kStopWidth = 50;
constexpr int kOptionGap = 5;
constexpr int kListHeight = 90;

struct OptionRow {
  int id;
  const char* label;
};

// Top to bottom: the three option lists, then the two boxes of the last full run.
constexpr std::array<OptionRow, 5> kOptionRows{{
    {kIdProcessorMaskList, "Processor Mask"},
    {kIdScratchDriveList, "HDD"},
    {kIdScratchSizeList, "HDD Size"},
    {kIdDisplayModeBox, "Display Mode"},
    {kIdFontSmoothingBox, "Font Smoothing"},
}};

// Offered only when the processor's clock is unknown, before the sizes always offered.
constexpr std::array<const char*, 3> kSmallScratchSizes{"16MB", "32MB", "64MB"};
constexpr std::array<const char*, 4> kScratchSizes{"128MB", "256MB", "512MB", "1024MB"};

constexpr int32_t kTestBarMaximum = 20000;
constexpr int32_t kOverallBarMaximum = 100000;

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

bool ClockKnown(ProbeObject* probe) {
  if (probe == nullptr) return false;
  char text[kProbeTextCapacity] = "";
  if (probe->GetString(probe_id::kCpuCoreClock, text) != 0) return false;
  return std::atof(text) > 0;
}

}  // namespace

MarkPageEnvironment::MarkPageEnvironment()
    : processorCount(ConfiguredProcessorCount()),
      listDrives([] { return ListScratchDrives(); }),
      home(HomeFolder()),
      applyProcessorMask(
          [](const std::string& text) { return BenchRunner::ApplyProcessorMask(text); }) {}

MarkPage::MarkPage(BenchEngine& engine, MarkPageEnvironment environment, QWidget* parent)
    : Page(0, parent), engine_(engine), environment_(std::move(environment)) {
  BenchHost* host = environment_.host;
  if (host == nullptr) {
    screen_ = std::make_unique<ScreenStateCache>();
    ScreenStateCache* screen = screen_.get();
    ownHost_ = std::make_unique<LinuxBenchHost>([screen] { return screen->Current(); });
    host = ownHost_.get();
  }
  observer_ = std::make_unique<QtBenchObserver>(*this);
  runner_ = std::make_unique<BenchRunner>(engine_, *host, *observer_, environment_.processorCount);
  showMessage = [this](const std::string& text) {
    if (messages_ != nullptr) {
      messages_->ShowMessage(text);
      return;
    }
    QMessageBox::information(isVisible() ? this : nullptr, QApplication::applicationName(),
                             QString::fromStdString(text), QMessageBox::Ok);
  };
  buildControls();
}

MarkPage::~MarkPage() {
  runner_.reset();
  observer_.reset();
  while (busy_ > 0) showBusy(false);
}

void MarkPage::registerControl(QWidget* widget, int id, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setProperty("controlId", id);
  controls_[id] = widget;
}

QWidget* MarkPage::control(int id) const {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void MarkPage::buildControls() {
  const DialogUnits du(font());
  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(du.x(4));
  rows->setVerticalSpacing(du.y(kRowGap));
  int shownRow = 0;
  for (const RunRow& row : kRunRows) {
    auto* button = new QPushButton(QString::fromUtf8(row.caption), this);
    registerControl(button, row.buttonId, row.caption);
    button->setMinimumWidth(du.x(kButtonWidth));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    auto* bar = new ScoreBar(this);
    registerControl(bar, row.barId, (std::string(row.caption) + " bar").c_str());
    bar->setMinimumWidth(du.x(kBarWidth));
    bar->setMinimumHeight(du.y(kRowHeight));
    if (row.shown) {
      rows->addWidget(button, shownRow, 0);
      rows->addWidget(bar, shownRow, 1);
      ++shownRow;
      const int test = row.test;
      connect(button, &QPushButton::clicked, this, [this, test] { startRun(test); });
    } else {
      button->setEnabled(false);
      button->hide();
      bar->hide();
    }
    buttons_[static_cast<size_t>(row.test)] = button;
    bars_[static_cast<size_t>(row.test)] = bar;
  }
  rows->setColumnStretch(1, 1);

  auto* options = new QVBoxLayout;
  options->setSpacing(du.y(1));
  stop_ = new QPushButton(QStringLiteral("Stop"), this);
  registerControl(stop_, kIdStopButton, "Stop");
  stop_->setMinimumWidth(du.x(kStopWidth));
  stop_->setEnabled(false);
  connect(stop_, &QPushButton::clicked, this, &MarkPage::requestStop);
  options->addWidget(stop_, 0, Qt::AlignLeft);

  for (const OptionRow& row : kOptionRows) {
    options->addSpacing(du.y(kOptionGap));
    auto* label = new QLabel(QString::fromUtf8(row.label), this);
    QWidget* box = nullptr;
    if (row.id == kIdDisplayModeBox || row.id == kIdFontSmoothingBox) {
      auto* edit = new QLineEdit(this);
      edit->setReadOnly(true);
      // Not a stop of the Tab key: focus would select the whole text of a box nobody edits.
      edit->setFocusPolicy(Qt::ClickFocus);
      (row.id == kIdDisplayModeBox ? displayMode_ : fontSmoothing_) = edit;
      box = edit;
    } else {
      auto* list = new WideCombo(this);
      list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      (row.id == kIdProcessorMaskList  ? maskList_
       : row.id == kIdScratchDriveList ? driveList_
                                       : sizeList_) = list;
      box = list;
    }
    registerControl(box, row.id, row.label);
    box->setMinimumWidth(du.x(kOptionWidth));
    label->setBuddy(box);
    options->addWidget(label);
    options->addWidget(box);
  }
  options->addStretch(1);
  // Only the user's choice binds the process; filling the list does not.
  connect(maskList_, &QComboBox::activated, this,
          [this](int) { environment_.applyProcessorMask(maskList_->currentText().toStdString()); });

  // The tab control: the tabs over a framed display area that holds the list.
  tabs_ = new QTabBar(this);
  registerControl(tabs_, kIdListTabs, "list tabs");
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  for (const char* caption : kListTabCaptions) tabs_->addTab(QString::fromUtf8(caption));
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setMinimumHeight(du.y(kListHeight));
  listArea_ = frame;
  scoreList_ = new ScoreList(
      engine_, [this] { return runner_->Snapshot(); }, frame);
  // The display area inside the frame, one pixel down.
  auto* inside = new QVBoxLayout(frame);
  const int margin = frame->frameWidth() + 1;
  inside->setContentsMargins(margin, margin + 1, margin, margin);
  inside->addWidget(scoreList_);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
    if (tab >= 0) selectListTab(tab);
  });

  auto* top = new QHBoxLayout;
  top->setSpacing(du.x(8));
  top->addLayout(rows, 1);
  top->addLayout(options);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(du.x(kMargin), du.y(kMargin), du.x(kMargin), du.y(kMargin));
  page->setSpacing(du.y(kOptionGap));
  page->addLayout(top);
  auto* list = new QVBoxLayout;
  list->setSpacing(0);
  list->addWidget(tabs_, 0, Qt::AlignLeft);
  list->addWidget(frame, 1);
  page->addLayout(list, 1);
}

void MarkPage::initialise(const PageContext& context) {
  messages_ = context.messages;

  const BenchResult record = runner_->Snapshot();
  for (int t = 0; t < kTestRows; ++t) {
    ScoreBar* b = bar(t);
    b->setMaximum(kTestBarMaximum);
    b->setValue(record.score[0][static_cast<size_t>(t)]);
  }
  bar(kTestOverall)->setMaximum(kOverallBarMaximum);

  buildOptionLists(context.probe);
  scoreList_->initialise();
  selectListTab(0);
  if (ShowsRecording(context)) {
    benchmarkOff_ = true;
    // The list tabs still show the sub-tests; the buttons and Stop stay off.
    setRunControlsEnabled(true, true);
    setOptionListsEnabled(false, false);
  }
}

void MarkPage::buildOptionLists(ProbeObject* probe) {
  const std::vector<std::string> masks = ProcessorMaskEntries(environment_.processorCount);
  for (const std::string& mask : masks) maskList_->addItem(QString::fromStdString(mask));
  maskList_->setCurrentIndex(maskList_->count() - 1);
  maskList_->setEnabled(ProcessorMaskListEnabledAtStart(environment_.processorCount));

  drives_ = environment_.listDrives();
  fillDriveList();
  driveList_->setCurrentIndex(driveList_->count() > 0 ? 0 : -1);

  if (!ClockKnown(probe)) {
    for (const char* size : kSmallScratchSizes) sizeList_->addItem(QString::fromUtf8(size));
  }
  for (const char* size : kScratchSizes) sizeList_->addItem(QString::fromUtf8(size));
  sizeList_->setCurrentIndex(0);
}

void MarkPage::fillDriveList() {
  const int selected = driveList_->currentIndex();
  driveList_->clear();
  for (const ScratchDrive& drive : drives_) {
    driveList_->addItem(QString::fromStdString(ScratchDriveText(drive, UiLanguage.load())));
  }
  if (selected >= 0 && selected < driveList_->count()) driveList_->setCurrentIndex(selected);
}

void MarkPage::refreshLanguage() { fillDriveList(); }

RunOptions MarkPage::currentOptions() const {
  RunOptions options;
  options.processorMaskText = maskList_->currentText().toStdString();
  const int drive = driveList_->currentIndex();
  if (drive >= 0 && drive < static_cast<int>(drives_.size())) {
    const ScratchDrive& chosen = drives_[static_cast<size_t>(drive)];
    options.scratchRoot = ScratchParentFolder(chosen, environment_.home);
    options.scratchFixedDisk = !chosen.network;
  } else {
    // No drive to offer: the writability check of the run says so.
    options.scratchFixedDisk = false;
  }
  options.scratchSizeText = sizeList_->currentText().toStdString();
  options.language = UiLanguage.load();
  return options;
}

bool MarkPage::startRun(int test) {
  if (benchmarkOff_) return false;
  runner_->SetOptions(currentOptions());
  return runner_->StartRun(test);
}

void MarkPage::requestStop() { runner_->RequestStop(); }

void MarkPage::stopForClose() { runner_->RequestStop(); }

bool MarkPage::running() const { return runner_->Running(); }

BenchResult MarkPage::result() const { return runner_->Snapshot(); }

MarkPageData MarkPage::data() const { return ReadMarkPageData(*runner_, currentOptions()); }

bool MarkPage::isRunComplete() const { return runner_->IsRunComplete(); }

void MarkPage::selectListTab(int tab) {
  if (tab < 0 || tab >= kListTabCount) return;
  {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(tab);
  }
  scoreList_->fillScoreList(TestOfListTab(tab));
  scoreList_->show();
}

void MarkPage::selectListTabOfTest(int test) { selectListTab(ListTabOfTest(test)); }

void MarkPage::showActiveColours() {
  for (ScoreBar* b : bars_) b->setColours(kActiveBarColours);
}

void MarkPage::showGreyColours() {
  for (ScoreBar* b : bars_) b->setColours(kGreyBarColours);
}

void MarkPage::setBarValue(int test, int value) {
  if (test < 0 || test >= kTestRows) return;
  bar(test)->setValue(value);
}

void MarkPage::showSubTest(int test, int subTest) { scoreList_->showSubTest(test, subTest); }

void MarkPage::setRunControlsEnabled(bool enable, bool includeStop) {
  if (QThread::currentThread() != thread()) {
    QueueCall(this, [this, enable, includeStop] { setRunControlsEnabled(enable, includeStop); });
    return;
  }
  for (const RunRow& row : kRunRows) {
    if (row.shown) buttons_[static_cast<size_t>(row.test)]->setEnabled(enable && !benchmarkOff_);
  }
  tabs_->setEnabled(enable);
  if (includeStop) stop_->setEnabled(!enable && !benchmarkOff_);
}

void MarkPage::setOptionListsEnabled(bool scratchLists, bool maskList) {
  driveList_->setEnabled(scratchLists);
  sizeList_->setEnabled(scratchLists);
  maskList_->setEnabled(maskList);
}

std::string MarkPage::displayModeText() const { return displayMode_->text().toStdString(); }
std::string MarkPage::fontSmoothingText() const { return fontSmoothing_->text().toStdString(); }

void MarkPage::showRunSettings(const std::string& displayMode, const std::string& fontSmoothing) {
  displayMode_->setText(QString::fromStdString(displayMode));
  fontSmoothing_->setText(QString::fromStdString(fontSmoothing));
}

void MarkPage::clearSubTestList() { scoreList_->clearRows(); }

void MarkPage::showBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busy_;
  } else if (busy_ > 0) {
    QApplication::restoreOverrideCursor();
    --busy_;
  }
}

void MarkPage::showRunMessage(const std::string& text) { showMessage(text); }

void MarkPage::noteFailedSubTest(const std::string& text) { failedSubTests_.push_back(text); }

void MarkPage::finishRun() {
  while (busy_ > 0) showBusy(false);
  if (!failedSubTests_.empty()) {
    // A -1 in the list says that a sub-test failed; this says which and why.
    std::string text = UiLanguage.load() == kEnglish
                           ? "These sub-tests could not measure (score -1):"
                           : "次のサブテストは測定できませんでした (スコア -1):";
    for (const std::string& failure : failedSubTests_) text += "\n" + failure;
    failedSubTests_.clear();
    showMessage(text);
  }
  emit runEnded();
}

}  // namespace velora
