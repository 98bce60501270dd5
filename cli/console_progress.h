#pragma once
// What "velora mark" prints while it runs: one line per finished sub-test, and on a terminal a
// live bar under them that shows how far the run has come.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_engine.h"
#include "bench/bench_observer.h"
#include "bench/bench_result.h"

namespace velora {

// "[#####...............]  5/20 MEM Read ..." for done of total sub-tests, width marks wide.
std::string ProgressBarLine(int done, int total, const std::string& label, int width = 20);

class ConsoleProgress : public BenchObserver {
 public:
  // tests as for BenchRunner::StartRun, one run each; the sub-test names are asked for here,
  // before the run. onOutputLost is called (on the worker) when out refuses a line.
  ConsoleProgress(BenchEngine& engine, const std::vector<int>& tests, std::FILE* out, bool terminal,
                  int language, std::function<void()> onOutputLost = {});

  void SubTestStarted(int test, int subTest) override;
  void SubTestShown(int test, int subTest, int score, int value) override;
  void SubTestFailed(int test, int subTest, const std::string& text) override;
  void MessageShown(const std::string& text) override;

  // Read after the run has ended.
  bool Failed() const { return failed_; }
  // errno of the first refused write to out; 0 while every line went out.
  int OutputError() const { return outputError_; }
  int TotalSubTests() const { return total_; }

 private:
  std::string names_[11][8];
  std::FILE* out_;
  const bool terminal_;
  const int language_;
  std::function<void()> onOutputLost_;
  int outputError_ = 0;
  int total_ = 0;
  int done_ = 0;
  bool failed_ = false;

  void CheckOutput();
};

}  // namespace velora
