#pragma once
// The two cells of a sub-test's row in the score list.

#include <string>

namespace velora {

struct SubTestCells {
  std::string column1;
  std::string column2;
};

// MEM, HDD, D2D and D3D show the value in hundredths with two decimals and the score; OGL the
// value and the score; the others the value alone. A negative score empties both cells.
SubTestCells SubTestCellsOf(int test, int score, int value);

}  // namespace velora
