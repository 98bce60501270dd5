#include "bench/bench_result.h"

namespace velora {

const char* TestShortName(int test) {
  return test >= 0 && test < kTestIdCount ? kTestShortNames[static_cast<size_t>(test)] : "?";
}

bool IsRunComplete(const BenchResult& result) {
  const DisplayState& start = result.display[kTestOverall];
  return result.fullRun == 1 && start.width != 0 && result.display[kTestGdi] == start &&
         result.display[kTestD2d] == start;
}

}  // namespace velora
