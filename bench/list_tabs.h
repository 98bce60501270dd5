#pragma once
// The sub-test list's seven tabs and the tests they show.

#include <array>

#include "engine/test_catalog.h"

namespace velora {

constexpr int kListTabCount = 7;
constexpr std::array<const char*, kListTabCount> kListTabCaptions{
    kTestShortNames[kTestAlu], kTestShortNames[kTestFpu], kTestShortNames[kTestMem],
    kTestShortNames[kTestHdd], kTestShortNames[kTestGdi], kTestShortNames[kTestD2d],
    kTestShortNames[kTestOgl]};

// Tabs 0 to 3 show ALU to HDD, 4 and 5 GDI and D2D, 6 OGL.
constexpr int TestOfListTab(int tab) {
  if (tab <= 3) return tab + 1;
  if (tab <= 5) return tab + 2;
  return 9;
}

// The tab a running test selects. The tests without a tab of their own land on a neighbour:
// MMT on GDI's tab, D3D on OGL's.
constexpr int ListTabOfTest(int test) {
  if (test < 1) return 0;
  if (test <= 5) return test - 1;
  if (test <= 8) return test - 2;
  return test - 3;
}

}  // namespace velora
