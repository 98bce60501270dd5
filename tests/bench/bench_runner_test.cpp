#include "bench/bench_runner.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "bench/mark_page_data.h"
#include "bench_fakes.h"
#include "core/ui_language.h"

namespace velora {
namespace {

using testing::EngineAnswer;
using testing::FakeEngine;
using testing::FakeHost;
using testing::RecordingObserver;

int EntriesIn(const std::string& dir) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++count;
  return count;
}

class BenchRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velora_bench_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    options_.processorMaskText = "0011";
    options_.scratchRoot = root_;
    options_.scratchFixedDisk = true;
    options_.scratchSizeText = "4MB";
    options_.language = kEnglish;
    runner_.SetOptions(options_);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  void Run(int test) {
    ASSERT_TRUE(runner_.StartRun(test));
    runner_.WaitUntilIdle();
    ASSERT_FALSE(runner_.Running());
  }

  // Every test scores its sub-test s with (test * 100 + s) and value s + 1.
  void ScriptAll() {
    for (int t = 1; t <= 9; ++t) {
      for (int s = 0; s < 4; ++s) engine_.Script(t, s, {{0, t * 100 + s, s + 1}});
    }
  }

  std::string root_;
  RunOptions options_;
  FakeEngine engine_;
  FakeHost host_;
  RecordingObserver observer_;
  BenchRunner runner_{engine_, host_, observer_, 2};
};

TEST_F(BenchRunnerTest, FullRunCallsEveryTestInOrderWithBestOfFourAndThree) {
  ScriptAll();
  Run(kTestOverall);
  const auto calls = engine_.Calls();
  // 8 sub-tests each: ALU, FPU, MEM four calls, HDD three, MMT to OGL one; NET never.
  EXPECT_EQ(calls.size(), 3u * 32 + 24 + 5 * 8);
  EXPECT_EQ(engine_.CallsOf(kTestAlu), 32);
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 24);
  EXPECT_EQ(engine_.CallsOf(kTestMmt), 8);
  EXPECT_EQ(engine_.CallsOf(kTestD3d), 8);
  EXPECT_EQ(engine_.CallsOf(kTestNet), 0);
  int lastTest = 0;
  int lastSub = -1;
  for (const auto& call : calls) {
    EXPECT_EQ(call.mode, 1);
    ASSERT_TRUE(call.test > lastTest || (call.test == lastTest && call.subTest >= lastSub));
    lastTest = call.test;
    lastSub = call.subTest;
  }
  const BenchResult result = runner_.Snapshot();
  // Test t: 4 sub-tests of t*100+s.
  int overall = 0;
  for (int t = 1; t <= 9; ++t) {
    EXPECT_EQ(result.score[0][t], 4 * t * 100 + 6) << t;
    EXPECT_EQ(result.value[t][3], 4);
    EXPECT_EQ(result.score[t][4], 0);
    overall += result.score[0][t];
  }
  EXPECT_EQ(result.score[0][0], overall);
  EXPECT_EQ(result.fullRun, 1);
  EXPECT_TRUE(runner_.IsRunComplete());
  EXPECT_EQ(result.runSettings.processorMask, "0011");
  EXPECT_EQ(result.runSettings.displayMode, "1920 x 1080 32bit");
  EXPECT_EQ(result.runSettings.fontSmoothing, "ClearType");
  EXPECT_EQ(result.runSettings.scratchSizeMb, 4);
  EXPECT_FALSE(result.selected[0]);
  EXPECT_EQ(EntriesIn(root_), 0) << "scratch folder left behind";
  EXPECT_TRUE(observer_.Has("settings 1920 x 1080 32bit / ClearType"));
  EXPECT_EQ(observer_.Last("tab"), "tab 1");
  EXPECT_EQ(observer_.Last("bar 0"), "bar 0 " + std::to_string(overall));
  EXPECT_EQ(observer_.Events().back(), "ended");
}

TEST_F(BenchRunnerTest, BestOfFourKeepsTheLargestScoreAndValueEachOnItsOwn) {
  engine_.Script(kTestFpu, 0, {{0, 10, 900}, {0, 50, 100}, {0, 30, 200}, {0, 20, 300}});
  Run(kTestFpu);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.score[kTestFpu][0], 50);
  EXPECT_EQ(result.value[kTestFpu][0], 900);
  EXPECT_TRUE(observer_.Has("row 2.0 50 900"));
}

TEST_F(BenchRunnerTest, FourNegativeAluResultsKeepZero) {
  engine_.Script(kTestAlu, 1, {{0, -1, -5}, {0, -2, -5}, {0, -1, -1}, {0, -3, -7}});
  Run(kTestAlu);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.score[kTestAlu][1], 0);
  EXPECT_EQ(result.value[kTestAlu][1], 0);
}

TEST_F(BenchRunnerTest, HddBestOfThreeOverTheFullScratchFile) {
  engine_.Script(kTestHdd, 0, {{0, 7, 70}, {0, 9, 60}, {0, 8, 80}, {0, 1000, 1000}});
  Run(kTestHdd);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.score[kTestHdd][0], 9);
  EXPECT_EQ(result.value[kTestHdd][0], 80);
  const auto sizes = engine_.HddFileSizes();
  ASSERT_EQ(sizes.size(), 24u);
  for (long size : sizes) EXPECT_EQ(size, 4 * 1048576);
  for (uint32_t block : engine_.HddBlockSizes()) EXPECT_EQ(block, 1048576u);
  EXPECT_EQ(EntriesIn(root_), 0);
  // A single test clears the full run's settings but records its scratch size.
  EXPECT_EQ(result.runSettings.scratchSizeMb, 4);
  EXPECT_EQ(result.runSettings.processorMask, "");
}

TEST_F(BenchRunnerTest, AluAloneAfterAFullRunGreysAndClearsButKeepsOtherScores) {
  ScriptAll();
  Run(kTestOverall);
  ASSERT_EQ(runner_.Snapshot().fullRun, 1);
  engine_.Script(kTestAlu, 0, {{0, 5, 5}});
  Run(kTestAlu);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.fullRun, 0);
  EXPECT_EQ(result.runSettings, RunSettings{});
  EXPECT_EQ(result.score[0][kTestAlu], 5 + 101 + 102 + 103);
  EXPECT_EQ(result.score[0][kTestFpu], 4 * 200 + 6);
  EXPECT_EQ(result.score[0][kTestOgl], 4 * 900 + 6);
  EXPECT_EQ(observer_.Last("active"), "active");
  const auto events = observer_.Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "grey"), 1);
  EXPECT_FALSE(runner_.IsRunComplete());
}

TEST_F(BenchRunnerTest, StopDuringMemKeepsFinishedScoresAndRemovesTheScratchFolder) {
  ScriptAll();
  engine_.OnCall([this](int test, int subTest) {
    if (test == kTestMem && subTest == 2) runner_.RequestStop();
  });
  Run(kTestOverall);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.score[0][kTestAlu], 406);
  EXPECT_EQ(result.score[0][kTestFpu], 806);
  // The sub-test that was running finishes; the next does not start.
  EXPECT_EQ(result.score[kTestMem][2], 302);
  EXPECT_EQ(result.score[kTestMem][3], 0);
  EXPECT_EQ(result.score[0][kTestMem], 300 + 301 + 302);
  EXPECT_EQ(engine_.CallsOf(kTestMem), 12);
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 0);
  EXPECT_EQ(result.fullRun, 0);
  EXPECT_EQ(result.runSettings, RunSettings{});
  EXPECT_EQ(observer_.Events().back(), "ended");
  EXPECT_EQ(observer_.Last("grey"), "grey");
  EXPECT_EQ(EntriesIn(root_), 0);
  EXPECT_FALSE(runner_.IsRunComplete());
}

// The Mark page's data is one copy: the scores and the verdict on them come from the same moment.
TEST_F(BenchRunnerTest, MarkPageDataCarriesTheRecordItsVerdictAndTheOptions) {
  ScriptAll();
  Run(kTestOverall);
  options_.scratchSizeText = "512MB";
  const MarkPageData data = ReadMarkPageData(runner_, options_);
  EXPECT_TRUE(data.runComplete);
  EXPECT_FALSE(data.running);
  EXPECT_EQ(data.result.score[kTestAlu][3], 103);
  EXPECT_EQ(data.result.score[0][0], runner_.Snapshot().score[0][0]);
  EXPECT_EQ(data.options.scratchSizeText, "512MB") << "the lists as they stand, not the last run's";

  ASSERT_TRUE(runner_.StartRun(kTestAlu));
  const MarkPageData during = ReadMarkPageData(runner_, options_);
  runner_.WaitUntilIdle();
  EXPECT_FALSE(during.runComplete && during.result.score[kTestAlu][0] == 0)
      << "a record without ALU scores was judged complete";
}

TEST_F(BenchRunnerTest, FullRunOnANetworkFileSystemIsNotComplete) {
  options_.scratchFixedDisk = false;
  runner_.SetOptions(options_);
  ScriptAll();
  Run(kTestOverall);
  EXPECT_EQ(runner_.Snapshot().fullRun, 0);
  EXPECT_FALSE(runner_.IsRunComplete());
  EXPECT_EQ(runner_.Snapshot().score[0][kTestOgl], 4 * 900 + 6);
}

TEST_F(BenchRunnerTest, DisplayChangeBeforeGdiMakesTheRunIncomplete) {
  ScriptAll();
  engine_.OnCall([this](int test, int) {
    if (test == kTestMmt) host_.SetDisplay({1280, 1024, 32, 2});
  });
  Run(kTestOverall);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.fullRun, 1);
  EXPECT_EQ(result.display[kTestGdi], (DisplayState{1280, 1024, 32, 2}));
  EXPECT_EQ(result.display[kTestOverall], (DisplayState{1920, 1080, 32, 2}));
  EXPECT_FALSE(runner_.IsRunComplete());
}

TEST_F(BenchRunnerTest, FailingGraphicsTestStopsTheRunBeforeTheNextSubTest) {
  ScriptAll();
  engine_.Script(kTestGdi, 1, {{1, 0, 0}});
  Run(kTestOverall);
  EXPECT_EQ(engine_.CallsOf(kTestGdi), 2);
  EXPECT_EQ(engine_.CallsOf(kTestD2d), 0);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.fullRun, 0);
  EXPECT_EQ(result.runSettings, RunSettings{});
  EXPECT_EQ(observer_.Last("grey"), "grey");
  EXPECT_TRUE(observer_.Has(
      "message The GDI test cannot run here or drew a wrong picture; the run was stopped."));
}

TEST_F(BenchRunnerTest, OglWithoutOpenGlSaysWhyTheRunStoppedOnceInTheRunsLanguage) {
  ScriptAll();
  engine_.Script(kTestOgl, 0, {{-1, -1, 0}});
  options_.language = kJapanese;
  runner_.SetOptions(options_);
  Run(kTestOgl);
  EXPECT_EQ(engine_.CallsOf(kTestOgl), 1);
  EXPECT_TRUE(observer_.Has("message OGL テストを実行できない (OpenGL がない) か描画結果が正しくないため、ベンチマークを中止しました"));
  const auto events = observer_.Events();
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const std::string& e) { return e.rfind("message", 0) == 0; }),
            1);
}

TEST_F(BenchRunnerTest, HddLargerThanFreeSpaceShowsTheMessageAndLeavesNoFolder) {
  ScriptAll();
  host_.SetFreeBytes(4 * 1048576 - 1);
  Run(kTestOverall);
  EXPECT_TRUE(observer_.Starts("message HDD capacity is insufficient."));
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 0);
  EXPECT_EQ(engine_.CallsOf(kTestMmt), 0);
  const BenchResult result = runner_.Snapshot();
  EXPECT_EQ(result.score[0][kTestMem], 4 * 300 + 6);
  // A run cut short here is not a full run.
  EXPECT_EQ(result.fullRun, 0);
  EXPECT_EQ(EntriesIn(root_), 0);
}

TEST_F(BenchRunnerTest, FileExactlyAsLargeAsTheFreeSpacePasses) {
  host_.SetFreeBytes(4 * 1048576);
  Run(kTestHdd);
  EXPECT_FALSE(observer_.Starts("message HDD capacity is insufficient."));
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 24);
}

TEST_F(BenchRunnerTest, JapaneseMessageFollowsTheRunsLanguage) {
  options_.language = kJapanese;
  runner_.SetOptions(options_);
  host_.SetFreeBytes(0);
  Run(kTestHdd);
  EXPECT_TRUE(observer_.Starts("message HDD 容量が不足しているためベンチマークを行えません"));
}

TEST_F(BenchRunnerTest, UnwritableScratchRootShowsTheWritabilityMessage) {
  options_.scratchRoot = root_ + "/missing/deeper";
  runner_.SetOptions(options_);
  Run(kTestHdd);
  EXPECT_TRUE(observer_.Has("message It seems to be the drive which cannot be written in.\n" +
                            root_ + "/missing/deeper: no such folder"));
  ASSERT_EQ(runner_.Failures().size(), 1u);
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 0);
  EXPECT_EQ(observer_.Events().back(), "ended");
}

TEST_F(BenchRunnerTest, NoChosenDriveWritesNothingAndShowsTheWritabilityMessage) {
  // An empty list of drives leaves the root empty; run as root, "/Velora..." would be writable.
  options_.scratchRoot.clear();
  runner_.SetOptions(options_);
  Run(kTestHdd);
  EXPECT_TRUE(observer_.Starts("message It seems to be the drive which cannot be written in."));
  EXPECT_EQ(engine_.CallsOf(kTestHdd), 0);
  EXPECT_EQ(observer_.Events().back(), "ended");
}

TEST_F(BenchRunnerTest, SecondStartWhileRunningIsRefusedAndFlagsClearAtTheEnd) {
  std::atomic<bool> release{false};
  std::atomic<bool> inside{false};
  engine_.OnCall([&](int, int) {
    inside = true;
    while (!release) std::this_thread::yield();
  });
  ASSERT_TRUE(runner_.StartRun(kTestFpu));
  while (!inside) std::this_thread::yield();
  EXPECT_FALSE(runner_.StartRun(kTestAlu));
  EXPECT_TRUE(runner_.Snapshot().selected[kTestFpu]);
  EXPECT_TRUE(runner_.Running());
  release = true;
  runner_.WaitUntilIdle();
  EXPECT_FALSE(runner_.Snapshot().selected[kTestFpu]);
  EXPECT_EQ(engine_.CallsOf(kTestAlu), 0);
  EXPECT_TRUE(observer_.Has("controls 01"));
  EXPECT_EQ(observer_.Last("controls"), "controls 11");
  EXPECT_EQ(observer_.Last("lists"), "lists 11");
}

TEST_F(BenchRunnerTest, ReadersSeeWholeSubTestsWhileTheWorkerWrites) {
  ScriptAll();
  ASSERT_TRUE(runner_.StartRun(kTestOverall));
  // Scores of a sub-test are stored once with their final value; a snapshot sees 0 or it.
  while (runner_.Running()) {
    const BenchResult seen = runner_.Snapshot();
    for (int t = 1; t <= 9; ++t) {
      for (int s = 0; s < 4; ++s) {
        const int score = seen.score[t][s];
        ASSERT_TRUE(score == 0 || score == t * 100 + s) << t << "." << s << " " << score;
      }
    }
    (void)runner_.IsRunComplete();
  }
  runner_.WaitUntilIdle();
}

TEST(BenchRunnerLifetime, DestroyingDuringARunStopsAfterTheSubTestAndRemovesTheFolder) {
  char pattern[] = "/tmp/velora_bench_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string root = pattern;
  FakeEngine engine;
  FakeHost host;
  RecordingObserver observer;
  std::atomic<bool> inside{false};
  {
    BenchRunner runner(engine, host, observer, 4);
    runner.SetOptions({"1111", root, true, "4MB"});
    // Holds the worker inside its first engine call until the destructor has asked for the
    // stop; the runner's members live until the destructor has joined the worker.
    engine.OnCall([&](int test, int) {
      if (test != kTestHdd || inside.exchange(true)) return;
      while (!runner.StopRequested()) std::this_thread::yield();
    });
    ASSERT_TRUE(runner.StartRun(kTestHdd));
    while (!inside) std::this_thread::yield();
  }
  EXPECT_EQ(engine.CallsOf(kTestHdd), 3);
  EXPECT_EQ(observer.Events().back(), "ended");
  EXPECT_EQ(EntriesIn(root), 0);
  std::filesystem::remove_all(root);
}

TEST(BenchRunnerStart, MmtAndD3dRunOnlyWithinAFullRun) {
  FakeEngine engine;
  FakeHost host;
  RecordingObserver observer;
  BenchRunner runner(engine, host, observer, 2);
  EXPECT_FALSE(runner.StartRun(kTestMmt));
  EXPECT_FALSE(runner.StartRun(kTestD3d));
  EXPECT_FALSE(runner.StartRun(kTestNet));
  EXPECT_FALSE(runner.Running());
  EXPECT_EQ(engine.CallsOf(kTestMmt), 0);
  EXPECT_EQ(engine.CallsOf(kTestD3d), 0);
  EXPECT_FALSE(runner.Snapshot().selected[kTestMmt]);
}

}  // namespace
}  // namespace velora
