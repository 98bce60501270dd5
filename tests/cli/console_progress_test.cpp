#include "cli/console_progress.h"
#include "core/ui_language.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <cstdlib>

#include "bench/bench_result.h"

namespace velora {
namespace {

// Names like the engine's: ALU with four sub-tests, MEM with two, nothing else.
class NamedEngine : public BenchEngine {
 public:
  int32_t BenchMark(int32_t, int32_t, int32_t, void*, int32_t*, int32_t*) override { return 0; }
  std::string BenchString(int32_t test, int32_t index) override {
    if (test == kTestAlu && index < 4) return "Alu" + std::to_string(index);
    if (test == kTestMem && index < 2) return "Mem" + std::to_string(index);
    return "";
  }
};

// Everything the observer writes, read back after it has been flushed.
class Captured {
 public:
  Captured() : file_(open_memstream(&data_, &size_)) {}
  ~Captured() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(data_);
  }
  std::FILE* file() { return file_; }
  std::string text() {
    std::fflush(file_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
};

TEST(ProgressBarLine, FillsInProportionAndClamps) {
  EXPECT_EQ(ProgressBarLine(0, 4, "ALU x", 8), "[........]  0/4 ALU x");
  EXPECT_EQ(ProgressBarLine(1, 4, "y", 8), "[##......]  1/4 y");
  EXPECT_EQ(ProgressBarLine(4, 4, "z", 8), "[########]  4/4 z");
  // A run that reports more than it announced never draws past the end.
  EXPECT_EQ(ProgressBarLine(7, 4, "z", 8), "[########]  4/4 z");
  EXPECT_EQ(ProgressBarLine(0, 0, "", 4), "[....]  0/1 ");
}

TEST(ConsoleProgress, CountsTheSubTestsOfTheRun) {
  NamedEngine engine;
  Captured out;
  EXPECT_EQ(ConsoleProgress(engine, {kTestOverall}, out.file(), false, kEnglish).TotalSubTests(), 6);
  EXPECT_EQ(ConsoleProgress(engine, {kTestMem}, out.file(), false, kEnglish).TotalSubTests(), 2);
  EXPECT_EQ(ConsoleProgress(engine, {kTestGdi}, out.file(), false, kEnglish).TotalSubTests(), 0);
  EXPECT_EQ(ConsoleProgress(engine, {kTestMem, kTestAlu}, out.file(), false, kEnglish)
                .TotalSubTests(),
            6);
}

TEST(ConsoleProgress, PipeGetsOnlyFinishedLines) {
  NamedEngine engine;
  Captured out;
  ConsoleProgress progress(engine, {kTestMem}, out.file(), false, kEnglish);
  progress.SubTestStarted(kTestMem, 0);
  progress.SubTestShown(kTestMem, 0, 1200, 345678);
  progress.SubTestStarted(kTestMem, 2);
  progress.SubTestShown(kTestMem, 2, 0, 0);  // no such sub-test: no line
  progress.SubTestShown(kTestMem, 1, -1, 5);  // a failed check: no figure, the word instead
  const std::string text = out.text();
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text,
            "MEM  Mem0                          3456.78     1200\n"
            "MEM  Mem1" + std::string(20 + 1 + 12 + 1 + 2, ' ') + "failed\n");
  EXPECT_FALSE(progress.Failed());
}

TEST(ConsoleProgress, TerminalShowsTheBarWhileASubTestRuns) {
  NamedEngine engine;
  Captured out;
  ConsoleProgress progress(engine, {kTestAlu}, out.file(), true, kEnglish);
  progress.SubTestStarted(kTestAlu, 0);
  EXPECT_EQ(out.text(), "\r\033[K[....................]  0/4 ALU Alu0 ...");
  progress.SubTestShown(kTestAlu, 0, 10, 20);
  progress.SubTestStarted(kTestAlu, 1);
  const std::string text = out.text();
  // The bar is wiped before the finished line, and the next bar counts it.
  EXPECT_NE(text.find("\r\033[KALU  Alu0"), std::string::npos);
  EXPECT_NE(text.find("[#####...............]  1/4 ALU Alu1 ..."), std::string::npos);
}

TEST(ConsoleProgress, MessageMarksTheRunFailed) {
  NamedEngine engine;
  Captured out;
  ConsoleProgress progress(engine, {kTestHdd}, out.file(), false, kEnglish);
  progress.MessageShown("HDD capacity is insufficient.");
  EXPECT_TRUE(progress.Failed());
}

TEST(ConsoleProgress, AFailedSubTestAndARefusedLineMarkTheRunFailed) {
  NamedEngine engine;
  Captured out;
  ConsoleProgress failedOne(engine, {kTestMem}, out.file(), false, kEnglish);
  failedOne.SubTestFailed(kTestMem, 0, "MEM Mem0: 1 engine call(s) failed");
  EXPECT_TRUE(failedOne.Failed());
  EXPECT_EQ(failedOne.OutputError(), 0);

  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  int lost = 0;
  ConsoleProgress progress(engine, {kTestMem}, full, false, kEnglish, [&] { ++lost; });
  progress.SubTestShown(kTestMem, 0, 1200, 345678);
  progress.SubTestShown(kTestMem, 1, 1200, 345678);
  EXPECT_EQ(progress.OutputError(), ENOSPC);
  EXPECT_EQ(lost, 1) << "the stop is asked for once";
  EXPECT_TRUE(progress.Failed());
  std::fclose(full);
}

}  // namespace
}  // namespace velora
