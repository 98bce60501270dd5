#include "bench/sub_test_cells.h"

#include <cstdio>

#include "bench/bench_result.h"

namespace velora {

SubTestCells SubTestCellsOf(int test, int score, int value) {
  if (score < 0) return {};
  char column1[32];
  const std::string scoreText = std::to_string(score);
  switch (test) {
    case kTestMem:
    case kTestHdd:
    case kTestD2d:
    case kTestD3d:
      std::snprintf(column1, sizeof column1, "%.2f", value * 0.01);
      return {column1, scoreText};
    case kTestOgl:
      return {std::to_string(value), scoreText};
    default:
      return {std::to_string(value), ""};
  }
}

}  // namespace velora
