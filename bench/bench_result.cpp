#include "bench/bench_result.h"

namespace velora {

const char* TestShortName(int test) {
  static const char* const names[] = {"Mark", "ALU", "FPU", "MEM", "HDD", "MMT",
                                      "GDI",  "D2D", "D3D", "OGL", "NET"};
  return test >= 0 && test <= 10 ? names[test] : "?";
}

bool IsRunComplete(const BenchResult& result) {
  const DisplayState& start = result.display[kTestOverall];
  return result.fullRun == 1 && start.width != 0 && result.display[kTestGdi] == start &&
         result.display[kTestD2d] == start;
}

}  // namespace velora
