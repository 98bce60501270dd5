#include "bench/mark_page_data.h"

namespace velora {

MarkPageData ReadMarkPageData(const BenchRunner& runner, const RunOptions& options) {
  MarkPageData data;
  // The completeness is judged on the same copy that is handed out, not on a later one.
  data.result = runner.Snapshot();
  data.runComplete = IsRunComplete(data.result);
  data.running = runner.Running();
  data.options = options;
  return data;
}

}  // namespace velora
