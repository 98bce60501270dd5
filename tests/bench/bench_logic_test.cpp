#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sched.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "bench/bench_result.h"
#include "bench/processor_mask.h"
#include "bench/scratch_messages.h"
#include "bench/sub_test_cells.h"
#include "core/ui_language.h"

namespace velora {
namespace {

using Entries = std::vector<std::string>;

TEST(ProcessorMask, EntriesGrowWithTheProcessorCount) {
  EXPECT_EQ(ProcessorMaskEntries(1), (Entries{"0001"}));
  EXPECT_EQ(ProcessorMaskEntries(2), (Entries{"0001", "0011"}));
  EXPECT_EQ(ProcessorMaskEntries(3), (Entries{"0001", "0011", "0111"}));
  EXPECT_EQ(ProcessorMaskEntries(4), (Entries{"0001", "0011", "0111", "0101", "1111"}));
  EXPECT_EQ(ProcessorMaskEntries(8), ProcessorMaskEntries(4));
  EXPECT_EQ(ProcessorMaskEntries(8).back(), "1111");
}

TEST(ProcessorMask, ListStartsDisabledWithOneOrMoreThanFourProcessors) {
  EXPECT_FALSE(ProcessorMaskListEnabledAtStart(1));
  EXPECT_TRUE(ProcessorMaskListEnabledAtStart(2));
  EXPECT_TRUE(ProcessorMaskListEnabledAtStart(4));
  EXPECT_FALSE(ProcessorMaskListEnabledAtStart(8));
}

TEST(ProcessorMask, TextsReadRightToLeft) {
  EXPECT_EQ(ProcessorMaskFromText("0001"), 1u);
  EXPECT_EQ(ProcessorMaskFromText("0011"), 3u);
  EXPECT_EQ(ProcessorMaskFromText("0101"), 5u);
  EXPECT_EQ(ProcessorMaskFromText("0111"), 7u);
  EXPECT_EQ(ProcessorMaskFromText("1111"), 15u);
  EXPECT_EQ(ProcessorMaskFromText("1000"), 0u);
  EXPECT_EQ(ProcessorMaskFromText(""), 0u);
  EXPECT_FALSE(ApplyProcessorMask(0));
}

TEST(ProcessorMask, AppliesToEveryThreadOfTheProcess) {
  cpu_set_t original;
  ASSERT_EQ(sched_getaffinity(0, sizeof original, &original), 0);
  if (!CPU_ISSET(0, &original)) GTEST_SKIP() << "processor 0 is not ours to use";
  std::atomic<bool> done{false};
  std::thread other([&] {
    while (!done) std::this_thread::yield();
  });
  ASSERT_TRUE(ApplyProcessorMask(ProcessorMaskFromText("0001")));
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    cpu_set_t now;
    const pid_t tid = std::stoi(task.path().filename().string());
    ASSERT_EQ(sched_getaffinity(tid, sizeof now, &now), 0);
    EXPECT_EQ(CPU_COUNT(&now), 1);
    EXPECT_TRUE(CPU_ISSET(0, &now));
  }
  done = true;
  other.join();
  // Give the rest of the test binary its processors back.
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    sched_setaffinity(std::stoi(task.path().filename().string()), sizeof original, &original);
  }
}

TEST(SubTestCells, FormatsByTest) {
  EXPECT_EQ(SubTestCellsOf(kTestMem, 1234, 567891).column1, "5678.91");
  EXPECT_EQ(SubTestCellsOf(kTestMem, 1234, 567891).column2, "1234");
  EXPECT_EQ(SubTestCellsOf(kTestHdd, 0, 0).column1, "0.00");
  EXPECT_EQ(SubTestCellsOf(kTestHdd, 0, 0).column2, "0");
  EXPECT_EQ(SubTestCellsOf(kTestD2d, 5, 6050).column1, "60.50");
  EXPECT_EQ(SubTestCellsOf(kTestOgl, 5, 60).column1, "60");
  EXPECT_EQ(SubTestCellsOf(kTestOgl, 5, 60).column2, "5");
  EXPECT_EQ(SubTestCellsOf(kTestAlu, 5, 77).column1, "77");
  EXPECT_EQ(SubTestCellsOf(kTestAlu, 5, 77).column2, "");
}

TEST(SubTestCells, NegativeScoreEmptiesBothCells) {
  const SubTestCells cells = SubTestCellsOf(kTestMem, -1, 1234);
  EXPECT_EQ(cells.column1, "");
  EXPECT_EQ(cells.column2, "");
}

TEST(ScratchMessages, BothLanguagesWithThePathAndTheReason) {
  EXPECT_EQ(ScratchFailureMessage({ScratchFailureKind::kNotWritable, "", 0}, kJapanese),
            "書き込みできないドライブのようです。書き込み可能なドライブを選択してください");
  EXPECT_EQ(ScratchFailureMessage({ScratchFailureKind::kInsufficientSpace, "", 0}, kEnglish),
            "HDD capacity is insufficient.");
  EXPECT_EQ(ScratchFailureMessage({ScratchFailureKind::kNotWritable, "/x/y", ENOENT}, kEnglish),
            "It seems to be the drive which cannot be written in.\n/x/y: no such folder");
  EXPECT_EQ(ScratchFailureMessage({ScratchFailureKind::kNotWritable, "/x/y", ENOTDIR}, kJapanese),
            "書き込みできないドライブのようです。書き込み可能なドライブを選択してください\n"
            "/x/y: フォルダではありません");
  // A reason without words of our own reads as the C library says it.
  EXPECT_EQ(ErrorReason(EXDEV, kEnglish), std::strerror(EXDEV));
}

TEST(RunComplete, NeedsAFullRunAStartWidthAndUnchangedGraphicsStates) {
  BenchResult result;
  const DisplayState screen{1024, 768, 32, 1};
  result.fullRun = 1;
  result.display[kTestOverall] = screen;
  result.display[kTestGdi] = screen;
  result.display[kTestD2d] = screen;
  EXPECT_TRUE(IsRunComplete(result));
  result.display[kTestD2d].fontSmoothing = 2;
  EXPECT_FALSE(IsRunComplete(result));
  result.display[kTestD2d] = screen;
  result.fullRun = 0;
  EXPECT_FALSE(IsRunComplete(result));
  BenchResult headless;
  headless.fullRun = 1;  // no screen: every state is zero
  EXPECT_FALSE(IsRunComplete(headless));
}

}  // namespace
}  // namespace velora
