#include "bench/bench_result.h"

namespace velora {

bool IsRunComplete(const BenchResult& result) {
  const DisplayState& start = result.display[kTestOverall];
  return result.fullRun == 1 && start.width != 0 && result.display[kTestGdi] == start &&
         result.display[kTestD2d] == start;
}

}  // namespace velora
