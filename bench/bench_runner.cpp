#include "bench/bench_runner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

int32_t Saturated(int64_t sum) {
  return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

std::string HexName(const char* format, const std::string& prefix, uint32_t tick) {
  char text[300];
  std::snprintf(text, sizeof text, format, prefix.c_str(), tick);
  return text;
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

  const bool withHdd = full || test == kTestHdd;
  HddScratchParams params{};
  ScratchBlock block;
  std::string folder;
  if (withHdd) {
    // Without a chosen drive nothing is made, not even at the top of the root file system: the
    // empty path fails the writability probe.
    if (!options.scratchRoot.empty()) {
      folder = HexName("%s/Velora%08X", options.scratchRoot, host_.TickCountMs());
      (void)mkdir(folder.c_str(), 0700);  // a failure shows up in the writability probe
      SetScratchPath(params, HexName("%s/Velora%08X.tmp", folder, host_.TickCountMs()));
    }
    const int32_t mb = std::clamp(std::atoi(options.scratchSizeText.c_str()), 0, kLargestScratchMb);
    params.fileSize = static_cast<uint32_t>(mb) * kScratchBlockSize;
    params.blockSize = kScratchBlockSize;
    std::lock_guard lock(recordMutex_);
    result_.runSettings.scratchSizeMb = mb;
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
      if (auto failure = PrepareScratchFile(params, block, host_)) {
        observer_.MessageShown(ScratchFailureMessage(*failure, options.language));
        ended = true;
        break;
      }
    }
    for (int s = 0; s < kSubTestsPerRun; ++s) {
      if (stopRequested_.load()) {
        ended = true;
        break;
      }
      if (t == kTestHdd) RunHddSubTest(s, params);
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
    if (!folder.empty()) {
      unlink(params.filePath);
      rmdir(folder.c_str());
    }
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

void BenchRunner::RunHddSubTest(int subTest, HddScratchParams& params) {
  int32_t bestScore = 0;
  int32_t bestValue = 0;
  for (int call = 0; call < 3; ++call) {
    int32_t score = 0;
    int32_t value = 0;
    engine_.BenchMark(kTestHdd, subTest, 1, &params, &score, &value);  // result not looked at
    bestScore = std::max(bestScore, score);
    bestValue = std::max(bestValue, value);
  }
  std::lock_guard lock(recordMutex_);
  result_.score[kTestHdd][subTest] = bestScore;
  result_.value[kTestHdd][subTest] = bestValue;
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
    for (int call = 0; call < 4; ++call) {
      int32_t score = 0;
      int32_t value = 0;
      engine_.BenchMark(test, subTest, 1, params, &score, &value);
      bestScore = std::max(bestScore, score);
      bestValue = std::max(bestValue, value);
    }
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
