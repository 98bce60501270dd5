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
    {"Fibonacci", 1e-3, 6.0e5},     // value: thousand calls/s
    {"Napierian", 1.0, 200.0},      // value: digits of e per second
    {"Eratosthenes", 1e-3, 2.0e5},  // value: thousand numbers sieved/s
    {"QuickSort", 1e-3, 6.0e3},     // value: thousand elements sorted/s
};

constexpr SubTestRow kFpuRows[] = {
    {"MikoFPU", 1e-3, 1.0e5},     // value: thousand points/s
    {"RandMeanSS", 1e-3, 1.8e5},  // value: thousand numbers/s
    {"FFT", 1e-6, 8.0e5},         // value: Mflop/s (5 N log2 N per transform)
    {"Mandelbrot", 1e-3, 1.4e5},  // value: thousand iterations/s
};

constexpr SubTestRow kMemRows[] = {
    {"Read", kHundredthsOfMbPerByte, 8e6},
    {"Write", kHundredthsOfMbPerByte, 8e6},
    {"Read/Write", kHundredthsOfMbPerByte, 8e6},
    {"Cache", kHundredthsOfMbPerByte, 2.5e7},
};

constexpr SubTestRow kHddRows[] = {
    {"Read", kHundredthsOfMbPerByte, 4e5},
    {"Write", kHundredthsOfMbPerByte, 4e5},
    {"RandomRead512K", kHundredthsOfMbPerByte, 4e5},
    {"RandomWrite512K", kHundredthsOfMbPerByte, 4e5},
    {"RandomRead 64K", kHundredthsOfMbPerByte, 2e5},
    {"RandomWrite 64K", kHundredthsOfMbPerByte, 2e5},
};

// value: Mflop/s.
constexpr double kMmtValueScale = 1e-6;
constexpr double kMmtScoreDivisor = 2e7;

const std::vector<SubTestRow>& MmtRows() {
  static const std::vector<SubTestRow> rows = [] {
    std::vector<SubTestRow> r;
    for (SimdSet set : AvailableSimdSets()) r.push_back({SimdSetName(set), kMmtValueScale, kMmtScoreDivisor});
    return r;
  }();
  return rows;
}

constexpr std::array<const char*, kTestCount + 1> kTestNames = {
    "Mark", "ALU", "FPU", "MEM", "HDD", "MMT", "GDI", "D2D", "D3D", "OGL", "NET"};

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
  if (test == 0) return index >= 0 && index <= kTestCount ? kTestNames[index] : nullptr;
  if (test < 1 || test > kTestCount || index < 0 || index >= kNameSlots) return nullptr;
  std::span<const SubTestRow> rows = SubTestRows(test);
  return static_cast<size_t>(index) < rows.size() ? rows[index].name : nullptr;
}

}  // namespace velora::engine
