#include "app/pages/mark_page.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "app/score_bar.h"
#include "app/score_list.h"
#include "bench/linked_bench_engine.h"
#include "core/ui_language.h"
#include "tests/bench/bench_fakes.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::EngineAnswer;
using testing::FakeEngine;
using testing::FakeHost;
using testing::TempFolder;

// Answers the core clock, the one value the page reads from the probe.
class ClockProbe : public ProbeObject {
 public:
  explicit ClockProbe(const char* clock) : clock_(clock) {}
  char* GetNumberString(uint32_t, char* buffer) override { return buffer; }
  int32_t GetString(uint32_t id, char* buffer) override {
    std::strcpy(buffer, id == 0x1020 ? clock_ : "");
    return id == 0x1020 && *clock_ != '\0' ? 0 : -1;
  }
  int32_t GetInt(uint32_t, int32_t* value) override { return *value = -1; }
  int32_t Set(uint32_t, int32_t) override { return -1; }

 private:
  const char* clock_;
};

int EntriesIn(const std::string& dir) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++count;
  return count;
}

std::vector<std::string> Items(QComboBox* list) {
  std::vector<std::string> items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
  return items;
}

class MarkPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }

  void SetUp() override { UiLanguage = kEnglish; }

  void Make(int processors = 2, ProbeObject* probe = nullptr) {
    MarkPageEnvironment environment;
    environment.processorCount = processors;
    const std::string root = scratch.path();
    environment.listDrives = [root] {
      return std::vector<ScratchDrive>{{root, "ext4", false}, {"/mnt/share", "nfs4", true}};
    };
    environment.home = scratch.path();
    environment.applyProcessorMask = [this](const std::string& text) {
      applied.push_back(text);
      return true;
    };
    environment.host = &host;
    page = std::make_unique<MarkPage>(engine, environment);
    page->showMessage = [this](const std::string& text) { messages.push_back(text); };
    page->resize(640, 560);
    page->initialise(PageContext{probe, nullptr});
    QObject::connect(page.get(), &MarkPage::runEnded, [this] { ++ended; });
  }

  // Every test scores its sub-test s with test * 100 + s and value s + 1.
  void ScriptAll() {
    for (int t = 1; t <= 9; ++t) {
      for (int s = 0; s < 4; ++s) engine.Script(t, s, {{0, t * 100 + s, s + 1}});
    }
  }

  template <typename Condition>
  bool Until(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
      if (timer.elapsed() > 60000) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      usleep(1000);
    }
    return true;
  }

  void Click(int id) {
    auto* button = qobject_cast<QPushButton*>(page->control(id));
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->isEnabled()) << id;
    const int before = ended;
    button->click();
    ASSERT_TRUE(Until([&] { return ended > before; })) << "the run ends";
  }

  QComboBox* List(int id) const { return qobject_cast<QComboBox*>(page->control(id)); }
  std::string Box(int id) const {
    return qobject_cast<QLineEdit*>(page->control(id))->text().toStdString();
  }
  QTableWidget* Table() const { return page->scoreList()->table(); }
  std::string Cell(int row, int column) const {
    QTableWidgetItem* item = Table()->item(row, column);
    return item != nullptr ? item->text().toStdString() : "<none>";
  }
  bool Grey(int test) const { return page->bar(test)->barColour() == kGreyBarColours.bar; }

  TempFolder scratch;
  FakeEngine engine;
  FakeHost host;
  std::unique_ptr<MarkPage> page;
  std::vector<std::string> applied;
  std::vector<std::string> messages;
  int ended = 0;
};

TEST_F(MarkPageTest, ControlsCarryTheirIdsTextsAndStartStates) {
  Make();
  const std::pair<int, const char*> buttons[] = {{1540, "Mark"}, {1537, "ALU"}, {1538, "FPU"},
                                                 {1539, "MEM"},  {1541, "HDD"}, {1542, "GDI"},
                                                 {1544, "D2D"},  {1547, "OGL"}, {1626, "Stop"}};
  for (auto [id, text] : buttons) {
    auto* button = qobject_cast<QPushButton*>(page->control(id));
    ASSERT_NE(button, nullptr) << id;
    EXPECT_EQ(button->text().toStdString(), text);
    EXPECT_EQ(button->property("controlId").toInt(), id);
    EXPECT_FALSE(button->isHidden());
    EXPECT_EQ(button->isEnabled(), id != 1626) << "Stop starts disabled";
  }
  for (int id : {1543, 1545, 1546}) {
    EXPECT_TRUE(page->control(id)->isHidden()) << id;
    EXPECT_FALSE(page->control(id)->isEnabled()) << id;
  }
  const int bars[] = {1620, 1611, 1612, 1613, 1614, 1616, 1615, 1617, 1618, 1621, 1619};
  for (int t = 0; t < 11; ++t) {
    EXPECT_EQ(page->control(bars[t]), page->bar(t)) << t;
    EXPECT_EQ(page->bar(t)->maximum(), t == 0 ? 100000 : 20000);
    EXPECT_EQ(page->bar(t)->text(), "0");
    EXPECT_EQ(page->bar(t)->isHidden(), t == 5 || t == 8 || t == 10);
  }
  EXPECT_EQ(Items(List(1633)), (std::vector<std::string>{"0001", "0011"}));
  EXPECT_EQ(List(1633)->currentText(), "0011");
  EXPECT_TRUE(List(1633)->isEnabled());
  EXPECT_EQ(Items(List(1634)), (std::vector<std::string>{scratch.path() + " : HardDisk [ext4]",
                                                         "/mnt/share : Network [nfs4]"}));
  EXPECT_EQ(List(1634)->currentIndex(), 0);
  EXPECT_EQ(Items(List(1635)),
            (std::vector<std::string>{"16MB", "32MB", "64MB", "128MB", "256MB", "512MB", "1024MB"}))
      << "no clock from the probe: the small sizes too";
  EXPECT_EQ(Box(1752), "");
  EXPECT_TRUE(qobject_cast<QLineEdit*>(page->control(1752))->isReadOnly());
  EXPECT_TRUE(qobject_cast<QLineEdit*>(page->control(1753))->isReadOnly());
  ASSERT_EQ(page->listTabs()->count(), 7);
  EXPECT_EQ(page->listTabs()->tabText(6).toStdString(), "OGL");
  EXPECT_EQ(page->listTabs()->currentIndex(), 0);
  EXPECT_EQ(page->scoreList()->shownTest(), 1);
  EXPECT_EQ(Table()->property("controlId").toInt(), 1623);
}

TEST_F(MarkPageTest, MeasuredClockLeavesOutTheSmallSizes) {
  ClockProbe probe("2394.45");
  Make(2, &probe);
  EXPECT_EQ(Items(List(1635)), (std::vector<std::string>{"128MB", "256MB", "512MB", "1024MB"}));
  EXPECT_EQ(List(1635)->currentText(), "128MB");
}

TEST_F(MarkPageTest, HddTabBeforeAnyRunListsTheNamesWithZeros) {
  Make();
  page->listTabs()->setCurrentIndex(3);  // as a click does
  EXPECT_EQ(page->scoreList()->shownTest(), 4);
  ASSERT_EQ(Table()->rowCount(), 4);
  ASSERT_EQ(Table()->columnCount(), 3);
  EXPECT_FALSE(Table()->horizontalHeader()->isHidden()) << "the headings say the units";
  EXPECT_EQ(Table()->horizontalHeaderItem(1)->text(), "MB/s");
  EXPECT_EQ(Table()->horizontalHeaderItem(2)->text(), "Score");
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(Cell(row, 0), "T4S" + std::to_string(row));
    EXPECT_EQ(Cell(row, 1), "0.00");
    EXPECT_EQ(Cell(row, 2), "0");
  }
  // The shares are of the width the page's layout gives the list once shown.
  page->show();
  QApplication::processEvents();
  const int w = page->scoreList()->clientWidth();
  EXPECT_GT(w, 400);
  EXPECT_EQ(Table()->columnWidth(0), w * 55 / 100);
  EXPECT_EQ(Table()->columnWidth(1), w * 25 / 100);
  page->selectListTab(0);
  EXPECT_EQ(Table()->columnCount(), 2);
  EXPECT_EQ(Table()->horizontalHeaderItem(1)->text(), "Score");
  EXPECT_EQ(Table()->columnWidth(1), w * 45 / 100);
  page->selectListTab(6);
  EXPECT_EQ(page->scoreList()->shownTest(), 9);
  EXPECT_EQ(Table()->horizontalHeaderItem(1)->text(), "");
}

TEST_F(MarkPageTest, LanguageRewritesTheDriveListAndKeepsTheChoice) {
  Make();
  List(1634)->setCurrentIndex(1);
  UiLanguage = kJapanese;
  page->refreshLanguage();
  EXPECT_EQ(List(1634)->itemText(0).toStdString(), scratch.path() + " : ハードディスク [ext4]");
  EXPECT_EQ(List(1634)->itemText(1).toStdString(), "/mnt/share : ネットワーク [nfs4]");
  EXPECT_EQ(List(1634)->currentIndex(), 1);
  const RunOptions options = page->currentOptions();
  EXPECT_FALSE(options.scratchFixedDisk) << "a network share";
  EXPECT_EQ(options.processorMaskText, "0011");
  EXPECT_EQ(options.scratchSizeText, "16MB");
}

// Threaded from here: each starts the worker.
TEST_F(MarkPageTest, FullRunThenAluAloneGreysTheBarsAndKeepsTheOtherScores) {
  Make();
  ScriptAll();
  Click(1540);
  BenchResult result = page->result();
  EXPECT_EQ(result.fullRun, 1);
  EXPECT_TRUE(page->isRunComplete());
  EXPECT_EQ(Box(1752), "1920 x 1080 32bit");
  EXPECT_EQ(Box(1753), "ClearType");
  EXPECT_FALSE(Grey(0));
  EXPECT_FALSE(Grey(9));
  // ALU: 100 + 101 + 102 + 103.
  EXPECT_EQ(page->bar(1)->value(), 406);
  EXPECT_EQ(page->bar(0)->value(), result.score[0][0]);
  EXPECT_EQ(page->listTabs()->currentIndex(), 0) << "a full run ends on the ALU tab";
  ASSERT_EQ(Table()->rowCount(), 4);
  EXPECT_EQ(Cell(2, 0), "T1S2");
  EXPECT_EQ(Cell(2, 1), "3") << "ALU shows the value alone";
  EXPECT_TRUE(qobject_cast<QPushButton*>(page->control(1540))->isEnabled());
  EXPECT_FALSE(page->control(1626)->isEnabled());
  EXPECT_TRUE(page->listTabs()->isEnabled());
  EXPECT_EQ(EntriesIn(scratch.path()), 0) << "the scratch folder is gone";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  const int fpu = page->bar(2)->value();
  Click(1537);
  for (int t = 0; t < 11; ++t) EXPECT_TRUE(Grey(t)) << t;
  result = page->result();
  EXPECT_EQ(result.fullRun, 0);
  EXPECT_EQ(result.runSettings.processorMask, "");
  EXPECT_EQ(result.runSettings.displayMode, "");
  EXPECT_EQ(page->bar(2)->value(), fpu);
  EXPECT_EQ(result.score[0][2], fpu);
  // The boxes change only when a full run starts.
  EXPECT_EQ(Box(1752), "1920 x 1080 32bit");
  EXPECT_EQ(page->listTabs()->currentIndex(), 0);
}

TEST_F(MarkPageTest, StopDuringMemKeepsFinishedScoresAndGreysTheBars) {
  Make();
  ScriptAll();
  std::atomic<bool> inMem{false};
  std::atomic<bool> release{false};
  engine.OnCall([&](int test, int subTest) {
    if (test == 3 && subTest == 1 && !inMem.exchange(true)) {
      while (!release.load()) usleep(1000);
    }
  });
  auto* stop = qobject_cast<QPushButton*>(page->control(1626));
  page->startRun(0);
  ASSERT_TRUE(Until([&] { return inMem.load(); }));
  // Everything the worker reported before entering the engine has been posted by now.
  QApplication::processEvents();
  EXPECT_EQ(page->listTabs()->currentIndex(), 2) << "MEM's tab while MEM runs";
  EXPECT_FALSE(page->listTabs()->isEnabled());
  EXPECT_FALSE(List(1634)->isEnabled());
  EXPECT_FALSE(List(1633)->isEnabled());
  EXPECT_NE(QApplication::overrideCursor(), nullptr) << "the wait cursor during a sub-test";
  stop->click();
  release = true;
  ASSERT_TRUE(Until([&] { return ended > 0; }));

  int memOne = 0;
  for (const auto& call : engine.Calls()) {
    memOne += call.test == 3 && call.subTest == 1;
    EXPECT_FALSE(call.test == 3 && call.subTest > 1) << "nothing after the current sub-test";
    EXPECT_LT(call.test, 4);
  }
  EXPECT_EQ(memOne, 4) << "the current sub-test finishes";
  const BenchResult result = page->result();
  EXPECT_EQ(result.fullRun, 0);
  EXPECT_EQ(result.score[0][1], 406);
  EXPECT_EQ(result.score[3][1], 301);
  EXPECT_EQ(page->bar(3)->value(), 601);
  for (int t = 0; t < 11; ++t) EXPECT_TRUE(Grey(t)) << t;
  EXPECT_EQ(EntriesIn(scratch.path()), 0) << "the scratch folder is gone";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(List(1634)->isEnabled());
}

TEST_F(MarkPageTest, NegativeSubTestScoreShowsItsNameWithEmptyCells) {
  Make();
  engine.Script(7, 0, {{0, 400, 6000}});
  engine.Script(7, 1, {{0, -1, 555}});
  engine.Script(7, 2, {{0, 720, 1234}});
  Click(1544);
  EXPECT_EQ(page->listTabs()->currentIndex(), 5);
  ASSERT_EQ(Table()->rowCount(), 4);
  EXPECT_EQ(Cell(0, 1), "60.00");
  EXPECT_EQ(Cell(1, 0), "T7S1");
  EXPECT_EQ(Cell(1, 1), "");
  EXPECT_EQ(Cell(1, 2), "");
  EXPECT_EQ(Cell(2, 1), "12.34");
  EXPECT_EQ(Cell(2, 2), "720");
  // The refilled list shows the same.
  page->selectListTab(0);
  page->selectListTab(5);
  EXPECT_EQ(Cell(1, 1), "");
  EXPECT_EQ(Cell(2, 2), "720");
}

// A sub-test whose calls failed their own checks: once the run ends, one message names it and
// says why, in the interface language.
TEST_F(MarkPageTest, FailedSubTestsAreNamedInOneMessageAtTheEnd) {
  Make();
  ScriptAll();
  engine.Script(1, 2, {{-1, -1, 0}});
  engine.Script(1, 3, {{-1, -1, 0}});
  Click(1537);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("These sub-tests could not measure (score -1):\nALU ", 0), 0u)
      << messages[0];
  EXPECT_EQ(std::count(messages[0].begin(), messages[0].end(), '\n'), 2);
  UiLanguage = kJapanese;
  Click(1537);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].rfind("次のサブテストは測定できませんでした", 0), 0u) << messages[1];
  engine.Script(1, 2, {{0, 102, 3}});
  engine.Script(1, 3, {{0, 103, 4}});
  Click(1537);
  EXPECT_EQ(messages.size(), 2u) << "a clean run says nothing";
}

TEST_F(MarkPageTest, EightProcessorsStartWithTheMaskListDisabledOnFourOnes) {
  Make(8);
  EXPECT_EQ(Items(List(1633)), (std::vector<std::string>{"0001", "0011", "0111", "0101", "1111"}));
  EXPECT_EQ(List(1633)->currentText(), "1111");
  EXPECT_FALSE(List(1633)->isEnabled());
  Click(1537);
  EXPECT_TRUE(List(1633)->isEnabled()) << "after the first run";
  EXPECT_TRUE(applied.empty()) << "filling the list applies nothing";
  List(1633)->setCurrentIndex(3);
  emit List(1633)->activated(3);  // the user's choice
  EXPECT_EQ(applied, (std::vector<std::string>{"0101"}));
}

TEST_F(MarkPageTest, HddSizeAboveTheFreeSpaceShowsTheMessageAndLeavesNothing) {
  Make();
  host.SetFreeBytes(1024);
  Click(1541);
  // The message, then the scratch folder it was meant for.
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("HDD capacity is insufficient.\n" + scratch.path() + "/Velora", 0),
            0u)
      << messages[0];
  EXPECT_EQ(EntriesIn(scratch.path()), 0);
  EXPECT_EQ(engine.CallsOf(4), 0);
}

TEST_F(MarkPageTest, ClosingDuringARunStopsAfterTheSubTestAndDropsTheQueuedCalls) {
  Make();
  ScriptAll();
  std::atomic<bool> blocked{false};
  std::atomic<bool> release{false};
  engine.OnCall([&](int test, int subTest) {
    if (test == 1 && subTest == 1 && !blocked.exchange(true)) {
      while (!release.load()) usleep(1000);
    }
  });
  ASSERT_TRUE(page->startRun(0));
  ASSERT_TRUE(Until([&] { return blocked.load(); }));
  EXPECT_TRUE(page->running());
  // The worker is held inside the engine until the page is already being destroyed.
  std::thread releaser([&] {
    usleep(100 * 1000);
    release = true;
  });
  page.reset();
  releaser.join();
  // Whatever the worker queued after the page's last event loop turn is dropped, not run
  // against freed widgets.
  QApplication::processEvents();
  int aluOne = 0;
  for (const auto& call : engine.Calls()) {
    aluOne += call.test == 1 && call.subTest == 1;
    EXPECT_FALSE(call.test > 1 || (call.test == 1 && call.subTest > 1));
  }
  EXPECT_EQ(aluOne, 4);
  EXPECT_EQ(ended, 0) << "no report of the run reached the page";
  EXPECT_EQ(EntriesIn(scratch.path()), 0) << "the scratch folder is gone";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace velora

namespace velora {
namespace {

std::string ScreenshotFolder() {
  const std::string folder = std::string(VELORA_BIN_DIR) + "/../screenshots";
  std::filesystem::create_directories(folder);
  return folder;
}

void Save(QWidget& widget, const std::string& name) {
  QApplication::processEvents();
  const QImage image = widget.grab().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(image.save(QString::fromStdString(ScreenshotFolder() + "/" + name)));
}

// Pictures for a person to look at: the page while MEM's second sub-test runs.
TEST_F(MarkPageTest, GrabsThePageDuringARunInBothLanguages) {
  Make();
  ScriptAll();
  std::atomic<bool> inMem{false};
  std::atomic<bool> release{false};
  engine.OnCall([&](int test, int subTest) {
    if (test == 3 && subTest == 1 && !inMem.exchange(true)) {
      while (!release.load()) usleep(1000);
    }
  });
  page->show();
  page->startRun(0);
  ASSERT_TRUE(Until([&] { return inMem.load(); }));
  // Everything the worker reported before entering the engine has been posted by now.
  QApplication::processEvents();
  UiLanguage = kJapanese;
  page->refreshLanguage();
  Save(*page, "mark-page-during-run-jp.png");
  UiLanguage = kEnglish;
  page->refreshLanguage();
  Save(*page, "mark-page-during-run-en.png");
  release = true;
  ASSERT_TRUE(Until([&] { return ended > 0; }));
}

// A full run of the linked engine on this machine, minutes long: run by hand with
// --gtest_also_run_disabled_tests. The scratch file goes on the first drive of the list.
TEST(MarkPageRealEngine, DISABLED_FullRunGrabbedInBothLanguages) {
  testing::EnsureOffscreenApplication();
  UiLanguage = kEnglish;
  LinkedBenchEngine engine;
  MarkPageEnvironment environment;
  environment.applyProcessorMask = [](const std::string&) { return true; };
  MarkPage page(engine, environment);
  page.resize(660, 580);
  page.initialise(PageContext{nullptr, nullptr});
  std::vector<std::string> messages;
  page.showMessage = [&](const std::string& text) { messages.push_back(text); };
  bool ended = false;
  QObject::connect(&page, &MarkPage::runEnded, [&] { ended = true; });
  page.show();
  const auto options = page.currentOptions();
  std::printf("scratch in %s, %s\n", options.scratchRoot.c_str(), options.scratchSizeText.c_str());
  QElapsedTimer timer;
  timer.start();
  ASSERT_TRUE(page.startRun(0));
  bool grabbedDuring = false;
  while (!ended) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    usleep(20000);
    if (!grabbedDuring && page.result().score[3][1] > 0) {
      Save(page, "mark-page-real-during-en.png");
      grabbedDuring = true;
    }
  }
  std::printf("full run: %.1f s\n", timer.elapsed() / 1000.0);
  for (const std::string& m : messages) std::printf("message: %s\n", m.c_str());
  const BenchResult result = page.result();
  for (int t = 0; t <= 10; ++t) std::printf("score[0][%d] = %d\n", t, result.score[0][t]);
  std::printf("fullRun %d, complete %d, %s / %s\n", result.fullRun, page.isRunComplete(),
              result.runSettings.displayMode.c_str(), result.runSettings.fontSmoothing.c_str());
  Save(page, "mark-page-after-full-run-en.png");
  page.selectListTab(3);
  Save(page, "mark-page-after-full-run-hdd-en.png");
  UiLanguage = kJapanese;
  page.refreshLanguage();
  page.selectListTab(2);
  Save(page, "mark-page-after-full-run-mem-jp.png");
  EXPECT_GT(result.score[0][0], 0);
}

}  // namespace
}  // namespace velora
