#pragma once
// What "velora mark" prints while it runs: one line per finished sub-test, and on a terminal a
// live bar under them that shows how far the run has come.

#include <cstdio>
#include <string>

#include "bench/bench_engine.h"
#include "bench/bench_observer.h"
#include "bench/bench_result.h"

namespace velora {

// "[#####...............]  5/20 MEM Read ..." for done of total sub-tests, width marks wide.
std::string ProgressBarLine(int done, int total, const std::string& label, int width = 20);

class ConsoleProgress : public BenchObserver {
 public:
  // test as for BenchRunner::StartRun; the sub-test names are asked for here, before the run.
  ConsoleProgress(BenchEngine& engine, int test, std::FILE* out, bool terminal);

  void SubTestStarted(int test, int subTest) override;
  void SubTestShown(int test, int subTest, int score, int value) override;
  void MessageShown(const std::string& text) override;

  // Read after the run has ended.
  bool Failed() const { return failed_; }
  int TotalSubTests() const { return total_; }

 private:
  std::string names_[11][8];
  std::FILE* out_;
  const bool terminal_;
  int total_ = 0;
  int done_ = 0;
  bool failed_ = false;
};

}  // namespace velora
