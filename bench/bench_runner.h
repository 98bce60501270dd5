#pragma once
// The run controller: owns the result record and drives the engine test by test and sub-test
// by sub-test on one worker thread. The record is written by the worker under a lock and read
// by others as a whole copy, so a reader never sees a half-stored sub-test.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_engine.h"
#include "bench/bench_host.h"
#include "bench/bench_observer.h"
#include "bench/bench_result.h"
#include "bench/scratch_file.h"
#include "bench/scratch_folder.h"
#include "core/ui_language.h"

namespace velora {

// The smallest scratch file the engine measures with: two blocks and its own 4 MiB floor.
inline constexpr int kSmallestScratchMb = 4;

// The texts of the three option lists, as the view holds them.
struct RunOptions {
  std::string processorMaskText;  // "0011"
  std::string scratchRoot;        // the folder the scratch folder is made in
  bool scratchFixedDisk = true;   // a local block-device file system, not a network one
  std::string scratchSizeText;    // "256MB"
  int language = kJapanese;       // of the run's messages
};

class BenchRunner {
 public:
  BenchRunner(BenchEngine& engine, BenchHost& host, BenchObserver& observer, int processorCount);
  // Stops a run after its current sub-test and waits for the worker, so the scratch folder is
  // gone and no call reaches the observer afterwards.
  ~BenchRunner();
  BenchRunner(const BenchRunner&) = delete;
  BenchRunner& operator=(const BenchRunner&) = delete;

  // Taken by the next run; the options of a run in progress do not change.
  void SetOptions(const RunOptions& options);

  // test 0 for a full run, else a test from 1 to 9 other than MMT and D3D. False when a run is
  // in progress or the test cannot be started.
  bool StartRun(int test);
  void RequestStop();
  bool StopRequested() const { return stopRequested_.load(); }
  bool Running() const { return running_.load(); }
  // Waits until the worker of the last run has ended.
  void WaitUntilIdle();

  BenchResult Snapshot() const;
  // Why sub-tests of the last run failed or the run could not prepare, one text each; empty
  // when everything that ran measured.
  std::vector<std::string> Failures() const;
  bool IsRunComplete() const;

  // The processor-mask list's selection: binds the whole process, also for later runs.
  static bool ApplyProcessorMask(const std::string& maskText);

 private:
  void Work(int test, RunOptions options);
  // language: of the messages of failed sub-tests and of a test that cannot run.
  void RunSubTest(int test, int subTest, void* params, int language);
  void RunHddSubTest(int subTest, HddScratchParams& params, const ScratchFolder& folder,
                     int language);
  void NoteFailure(int test, int subTest, const std::string& reason);
  void ShowTotals(int test);
  void ClearRunSettings();

  BenchEngine& engine_;
  BenchHost& host_;
  BenchObserver& observer_;
  const int processorCount_;

  mutable std::mutex recordMutex_;
  BenchResult result_;
  std::vector<std::string> failures_;

  std::mutex optionsMutex_;
  RunOptions options_;

  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> running_{false};
  std::mutex workerMutex_;
  std::thread worker_;
};

}  // namespace velora
