#include "engine/sub_test_table.h"

#include <array>
#include <vector>

#include "engine/graphics/graphics_sub_tests.h"
#include "engine/mmt_kernels.h"

namespace velora::engine {
namespace {

// Megabytes are 10^6 bytes; a value of 100 is 1 MB/s.
constexpr double kHundredthsOfMbPerByte = 100.0 / 1e6;

// The score divisors put one processor of this development machine (a 2-core Zen 5 virtual
// machine) in the low thousands; engine/README.md gives each formula.
constexpr SubTestRow kAluRows[] = {
    {kAluSubTests[0], 1e-3, 6.0e5},  // value: thousand calls/s
    {kAluSubTests[1], 1.0, 200.0},   // value: digits of e per second
    {kAluSubTests[2], 1e-3, 2.0e5},  // value: thousand numbers sieved/s
    {kAluSubTests[3], 1e-3, 6.0e3},  // value: thousand elements sorted/s
};

constexpr SubTestRow kFpuRows[] = {
    {kFpuSubTests[0], 1e-3, 1.0e5},  // value: thousand points/s
    {kFpuSubTests[1], 1e-3, 1.8e5},  // value: thousand numbers/s
    {kFpuSubTests[2], 1e-6, 8.0e5},  // value: Mflop/s (5 N log2 N per transform)
    {kFpuSubTests[3], 1e-3, 1.4e5},  // value: thousand iterations/s
};

constexpr SubTestRow kMemRows[] = {
    {kMemSubTests[0], kHundredthsOfMbPerByte, 8e6},
    {kMemSubTests[1], kHundredthsOfMbPerByte, 8e6},
    {kMemSubTests[2], kHundredthsOfMbPerByte, 8e6},
    {kMemSubTests[3], kHundredthsOfMbPerByte, 2.5e7},
};

constexpr SubTestRow kHddRows[] = {
    {kHddSubTests[0], kHundredthsOfMbPerByte, 4e5}, {kHddSubTests[1], kHundredthsOfMbPerByte, 4e5},
    {kHddSubTests[2], kHundredthsOfMbPerByte, 4e5}, {kHddSubTests[3], kHundredthsOfMbPerByte, 4e5},
    {kHddSubTests[4], kHundredthsOfMbPerByte, 2e5}, {kHddSubTests[5], kHundredthsOfMbPerByte, 2e5},
};

// value: Mflop/s.
constexpr double kMmtValueScale = 1e-6;
constexpr double kMmtScoreDivisor = 2e7;

const std::vector<SubTestRow>& MmtRows() {
  static const std::vector<SubTestRow> rows = [] {
    std::vector<SubTestRow> r;
    for (SimdSet set : AvailableSimdSets())
      r.push_back({SimdSetName(set), kMmtValueScale, kMmtScoreDivisor});
    return r;
  }();
  return rows;
}

}  // namespace

std::span<const SubTestRow> SubTestRows(int32_t test) {
  switch (test) {
    case kAlu: return kAluRows;
    case kFpu: return kFpuRows;
    case kMem: return kMemRows;
    case kHdd: return kHddRows;
    case kMmt: return MmtRows();
    case kGdi: return graphics::GdiRows();
    case kD2d: return graphics::D2dRows();
    case kOgl: return graphics::OglRows();
    default: return {};
  }
}

const char* EntryName(int32_t test, int32_t index) {
  if (test == 0)
    return index >= 0 && index <= kTestCount ? kTestShortNames[static_cast<size_t>(index)]
                                             : nullptr;
  if (test < 1 || test > kTestCount || index < 0 || index >= kNameSlots) return nullptr;
  std::span<const SubTestRow> rows = SubTestRows(test);
  return static_cast<size_t>(index) < rows.size() ? rows[index].name : nullptr;
}

}  // namespace velora::engine
