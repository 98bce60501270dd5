#pragma once
// Names of the tests and sub-tests, and how each sub-test's rate becomes a value and a score.

#include <cstdint>
#include <span>

#include "engine/test_catalog.h"

namespace velora::engine {

inline constexpr int kTestCount = 10;  // 1 ALU .. 10 NET
inline constexpr int kNameSlots = 16;  // sub-test names per test
inline constexpr int kTextCapacity = 256;
inline constexpr int kInfoCapacity = 32;

// The engine's short spellings of the one list of test ids.
inline constexpr TestId kAlu = kTestAlu, kFpu = kTestFpu, kMem = kTestMem, kHdd = kTestHdd,
                        kMmt = kTestMmt, kGdi = kTestGdi, kD2d = kTestD2d, kD3d = kTestD3d,
                        kOgl = kTestOgl, kNet = kTestNet;

struct SubTestRow {
  const char* name;
  // value = rate (work units per second) x valueScale; score = rate / scoreDivisor.
  double valueScale;
  double scoreDivisor;
};

// The sub-tests of one test in index order; empty for tests without sub-tests. MMT's rows are
// those of the instruction sets this processor has.
std::span<const SubTestRow> SubTestRows(int32_t test);

// Name of an entry of GetBenchString's table, or nullptr when there is none.
const char* EntryName(int32_t test, int32_t index);

}  // namespace velora::engine
