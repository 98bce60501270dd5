#pragma once
// The Mark page as data: what the page shows and what the reports, the ranking body, the Result
// dialog and the command line read of it. The Qt page only draws this.

#include "bench/bench_result.h"
#include "bench/bench_runner.h"

namespace velora {

struct MarkPageData {
  BenchResult result;  // one consistent copy of the record
  bool running = false;
  bool runComplete = false;
  RunOptions options;  // the three option lists as they stand, for the next run
};

// The runner's state with the options the lists hold.
MarkPageData ReadMarkPageData(const BenchRunner& runner, const RunOptions& options);

// Read access to the Mark page, whatever holds it: the window's pages or a headless run.
class MarkPageSource {
 public:
  virtual ~MarkPageSource() = default;
  virtual MarkPageData ReadMarkPage() const = 0;
};

}  // namespace velora
