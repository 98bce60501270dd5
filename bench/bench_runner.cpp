#include "bench/bench_runner.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "bench/graphics_messages.h"
#include "bench/processor_mask.h"
#include "core/font_smoothing.h"

namespace velora {

namespace {

// The scratch file size field is 32 bits: the largest whole MiB count it holds.
constexpr int32_t kLargestScratchMb = 4095;
// A failed sub-test's score: negative, so lists and totals show no figure for it.
constexpr int32_t kFailedScore = -1;

int32_t Saturated(int64_t sum) {
  return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

std::string FailedCallsReason(int failedCalls, int language) {
  const std::string count = std::to_string(failedCalls);
  return language == kEnglish ? count + " engine call(s) failed"
                              : "エンジンの呼び出しが " + count + " 回失敗しました";
}

bool RunsTest(const BenchResult& result, int test) {
  return result.selected[kTestOverall] || result.selected[test];
}

}  // namespace

BenchRunner::BenchRunner(BenchEngine& engine, BenchHost& host, BenchObserver& observer,
                         int processorCount)
    : engine_(engine), host_(host), observer_(observer), processorCount_(processorCount) {}

BenchRunner::~BenchRunner() {
  RequestStop();
  WaitUntilIdle();
}

void BenchRunner::SetOptions(const RunOptions& options) {
  std::lock_guard lock(optionsMutex_);
  options_ = options;
}

bool BenchRunner::StartRun(int test) {
  if (test < kTestOverall || test > kLastRunTest) return false;
  // MMT and D3D have no button of their own: they run only as part of a full run.
  if (test == kTestMmt || test == kTestD3d) return false;
  if (running_.exchange(true)) return false;
  // The previous worker has passed its last step; collect it before starting another.
  {
    std::lock_guard lock(workerMutex_);
    if (worker_.joinable()) worker_.join();
  }
  RunOptions options;
  {
    std::lock_guard lock(optionsMutex_);
    options = options_;
  }
  if (test == kTestOverall) {
    const DisplayState display = host_.CurrentDisplayState();
    char mode[64];
    std::snprintf(mode, sizeof mode, "%d x %d %dbit", display.width, display.height,
                  display.bitsPerPixel);
    const std::string smoothing = FontSmoothingName(display.fontSmoothing);
    {
      std::lock_guard lock(recordMutex_);
      result_.runSettings.processorMask = options.processorMaskText;
      result_.runSettings.display = display;
      result_.display[kTestOverall] = display;
      result_.runSettings.displayMode = mode;
      result_.runSettings.fontSmoothing = smoothing;
    }
    observer_.RunSettingsShown(mode, smoothing);
    observer_.BarColoursShown(BarColours::kActive);
  }
  {
    std::lock_guard lock(recordMutex_);
    result_.selected[test] = true;
    failures_.clear();
  }
  // Cleared here rather than on the worker, so a Stop pressed right after the start counts.
  stopRequested_.store(false);
  // Before the worker exists: a short run could otherwise end before the controls go off.
  observer_.RunControlsEnabled(false, true);
  {
    std::lock_guard lock(workerMutex_);
    worker_ = std::thread(&BenchRunner::Work, this, test, std::move(options));
  }
  return true;
}

void BenchRunner::RequestStop() { stopRequested_.store(true); }

void BenchRunner::WaitUntilIdle() {
  std::lock_guard lock(workerMutex_);
  if (worker_.joinable()) worker_.join();
}

BenchResult BenchRunner::Snapshot() const {
  std::lock_guard lock(recordMutex_);
  return result_;
}

bool BenchRunner::IsRunComplete() const { return velora::IsRunComplete(Snapshot()); }

bool BenchRunner::ApplyProcessorMask(const std::string& maskText) {
  return velora::ApplyProcessorMask(ProcessorMaskFromText(maskText));
}

void BenchRunner::ClearRunSettings() {
  std::lock_guard lock(recordMutex_);
  result_.runSettings = RunSettings{};
}

void BenchRunner::Work(int test, RunOptions options) {
  const bool full = test == kTestOverall;
  {
    std::lock_guard lock(recordMutex_);
    result_.fullRun = 0;
  }
  observer_.OptionListsEnabled(false, false);
  if (!full) {
    ClearRunSettings();
    observer_.BarColoursShown(BarColours::kGrey);
  }

  // Folders left by killed runs go at the start of every run, HDD or not.
  if (!options.scratchRoot.empty()) RemoveStaleScratchFolders(options.scratchRoot);
  const bool withHdd = full || test == kTestHdd;
  HddScratchParams params{};
  ScratchBlock block;
  std::optional<ScratchFolder> folder;
  std::optional<ScratchFailure> scratchFailure;
  if (withHdd) {
    const int32_t mb = std::clamp(std::atoi(options.scratchSizeText.c_str()), 0, kLargestScratchMb);
    params.fileSize = static_cast<uint32_t>(mb) * kScratchBlockSize;
    params.blockSize = kScratchBlockSize;
    {
      std::lock_guard lock(recordMutex_);
      result_.runSettings.scratchSizeMb = mb;
    }
    if (mb < kSmallestScratchMb) {
      scratchFailure = ScratchFailure{ScratchFailureKind::kTooSmall, {}, 0};
    } else {
      // Without a chosen drive nothing is made, not even at the top of the root file system.
      ScratchFailure failure;
      folder = ScratchFolder::Create(options.scratchRoot, failure);
      if (!folder) scratchFailure = failure;
    }
  }

  observer_.SubTestListCleared();
  int32_t overall = 0;
  {
    std::lock_guard lock(recordMutex_);
    for (int t = 0; t < kTestRows; ++t) {
      if (!RunsTest(result_, t)) continue;
      result_.score[0][t] = 0;
      result_.score[t].fill(0);
      result_.value[t].fill(0);
    }
    int64_t sum = 0;
    for (int t = 1; t < kTestRows; ++t) sum += result_.score[0][t];
    overall = result_.score[0][0] = Saturated(sum);
  }
  for (int t = 0; t < kTestRows; ++t) {
    if (full || t == test) observer_.BarValueShown(t, 0);
  }
  observer_.BarValueShown(kTestOverall, overall);

  bool ended = false;
  for (int t = 1; t <= kLastRunTest && !ended; ++t) {
    if (!full && t != test) continue;
    const DisplayState display = host_.CurrentDisplayState();
    {
      std::lock_guard lock(recordMutex_);
      result_.display[t] = display;
    }
    observer_.ListTabSelected(t);
    if (t == kTestHdd) {
      if (!scratchFailure) scratchFailure = PrepareScratchFile(params, block, host_, *folder, stopRequested_);
      if (scratchFailure) {
        if (scratchFailure->kind != ScratchFailureKind::kStopped) {
          const std::string text = ScratchFailureMessage(*scratchFailure, options.language);
          {
            std::lock_guard lock(recordMutex_);
            failures_.push_back(text);
          }
          observer_.MessageShown(text);
        }
        ended = true;
        break;
      }
    }
    for (int s = 0; s < kSubTestsPerRun; ++s) {
      if (stopRequested_.load()) {
        ended = true;
        break;
      }
      if (t == kTestHdd) RunHddSubTest(s, params, *folder, options.language);
      RunSubTest(t, s, &params, options.language);
    }
  }
  // Counted once, after the last test: a run cut short by a failed scratch file never counts.
  if (full && !ended && options.scratchFixedDisk && !stopRequested_.load()) {
    std::lock_guard lock(recordMutex_);
    result_.fullRun = 1;
  }

  if (withHdd) {
    block.reset();
    folder.reset();
  }
  observer_.RunControlsEnabled(true, true);
  if (full) observer_.ListTabSelected(kTestAlu);
  if (stopRequested_.load()) {
    {
      std::lock_guard lock(recordMutex_);
      result_.runSettings = RunSettings{};
      result_.fullRun = 0;
    }
    observer_.BarColoursShown(BarColours::kGrey);
  }
  {
    std::lock_guard lock(recordMutex_);
    result_.selected.fill(false);
  }
  observer_.OptionListsEnabled(true, processorCount_ != 1);
  running_.store(false);
  observer_.RunEnded();
}

void BenchRunner::RunHddSubTest(int subTest, HddScratchParams& params,
                                const ScratchFolder& folder, int language) {
  int32_t bestScore = 0;
  int32_t bestValue = 0;
  bool failed = false;
  for (int call = 0; call < 3 && !failed; ++call) {
    int32_t score = 0;
    int32_t value = 0;
    failed = engine_.BenchMark(kTestHdd, subTest, 1, &params, &score, &value) != 0 || score < 0;
    bestScore = std::max(bestScore, score);
    bestValue = std::max(bestValue, value);
  }
  if (failed) {
    // A measurement over a file that is gone or unreadable is no measurement: never a zero.
    bestScore = kFailedScore;
    bestValue = 0;
    const bool gone = !folder.FileExists(folder.FileName());
    NoteFailure(kTestHdd, subTest,
                folder.Path() + "/" + folder.FileName() + ": " +
                    (gone ? ScratchFileGoneReason(language) : ErrorReason(EIO, language)));
  }
  std::lock_guard lock(recordMutex_);
  result_.score[kTestHdd][subTest] = bestScore;
  result_.value[kTestHdd][subTest] = bestValue;
}

void BenchRunner::NoteFailure(int test, int subTest, const std::string& reason) {
  const std::string name = engine_.BenchString(test, subTest);
  const std::string text = std::string(TestShortName(test)) + " " + name + ": " + reason;
  {
    std::lock_guard lock(recordMutex_);
    failures_.push_back(text);
  }
  observer_.SubTestFailed(test, subTest, text);
}

std::vector<std::string> BenchRunner::Failures() const {
  std::lock_guard lock(recordMutex_);
  return failures_;
}

void BenchRunner::RunSubTest(int test, int subTest, void* params, int language) {
  observer_.SubTestStarted(test, subTest);
  bool failed = false;  // a test from MMT on answered that it cannot run
  if (test >= kTestAlu && test <= kTestMem) {
    int32_t bestScore = 0;
    int32_t bestValue = 0;
    {
      std::lock_guard lock(recordMutex_);
      bestScore = result_.score[test][subTest];
      bestValue = result_.value[test][subTest];
    }
    int failedCalls = 0;
    for (int call = 0; call < 4; ++call) {
      int32_t score = 0;
      int32_t value = 0;
      failedCalls += engine_.BenchMark(test, subTest, 1, params, &score, &value) != 0;
      bestScore = std::max(bestScore, score);
      bestValue = std::max(bestValue, value);
    }
    // The best of four keeps what the good calls measured; a call that failed its own check
    // still makes the run a failed one.
    if (failedCalls > 0) NoteFailure(test, subTest, FailedCallsReason(failedCalls, language));
    std::lock_guard lock(recordMutex_);
    result_.score[test][subTest] = bestScore;
    result_.value[test][subTest] = bestValue;
  } else if (test != kTestHdd) {
    int32_t score = 0;
    int32_t value = 0;
    const int32_t status = engine_.BenchMark(test, subTest, 1, params, &score, &value);
    {
      std::lock_guard lock(recordMutex_);
      result_.score[test][subTest] = score;
      result_.value[test][subTest] = value;
    }
    if (status != 0) {
      NoteFailure(test, subTest, FailedCallsReason(1, language));
      stopRequested_.store(true);
      failed = true;
    }
  }
  int32_t score = 0;
  int32_t value = 0;
  {
    std::lock_guard lock(recordMutex_);
    score = result_.score[test][subTest];
    value = result_.value[test][subTest];
  }
  observer_.SubTestShown(test, subTest, score, value);
  ShowTotals(test);
  if (failed) observer_.MessageShown(GraphicsFailureMessage(test, language));
}

void BenchRunner::ShowTotals(int test) {
  int32_t testScore = 0;
  int32_t overall = 0;
  {
    std::lock_guard lock(recordMutex_);
    int64_t sum = 0;
    for (int32_t s : result_.score[test]) sum += s;
    testScore = result_.score[0][test] = Saturated(sum);
    int64_t total = 0;
    for (int t = 1; t < kTestRows; ++t) total += result_.score[0][t];
    overall = result_.score[0][0] = Saturated(total);
  }
  observer_.BarValueShown(test, testScore);
  observer_.BarValueShown(kTestOverall, overall);
}

}  // namespace velora
