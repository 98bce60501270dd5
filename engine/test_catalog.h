#pragma once
// The tests and their sub-tests by number and name: the one list the engine, the result record,
// the reports, the ranking body, the window and the command line all read.

#include <array>
#include <cstdint>
#include <span>

namespace velora {

// 0 the overall score, then the tests in the order a full run takes them.
enum TestId : int32_t {
  kTestOverall = 0,
  kTestAlu = 1,
  kTestFpu = 2,
  kTestMem = 3,
  kTestHdd = 4,
  kTestMmt = 5,
  kTestGdi = 6,
  kTestD2d = 7,
  kTestD3d = 8,
  kTestOgl = 9,
  kTestNet = 10,
};

inline constexpr int kTestIdCount = 11;

// The button name of each test id, "Mark" for the overall score.
inline constexpr std::array<const char*, kTestIdCount> kTestShortNames{
    "Mark", "ALU", "FPU", "MEM", "HDD", "MMT", "GDI", "D2D", "D3D", "OGL", "NET"};

inline constexpr std::array<const char*, 4> kAluSubTests{"Fibonacci", "Napierian", "Eratosthenes",
                                                         "QuickSort"};
inline constexpr std::array<const char*, 4> kFpuSubTests{"MikoFPU", "RandMeanSS", "FFT",
                                                         "Mandelbrot"};
inline constexpr std::array<const char*, 4> kMemSubTests{"Read", "Write", "Read/Write", "Cache"};
inline constexpr std::array<const char*, 6> kHddSubTests{
    "Read", "Write", "RandomRead512K", "RandomWrite512K", "RandomRead 64K", "RandomWrite 64K"};
inline constexpr std::array<const char*, 4> kGdiSubTests{"Text", "Square", "Circle", "BitBlt"};
inline constexpr std::array<const char*, 6> kD2dSubTests{
    "Sprite 10", "Sprite 100", "Sprite 500", "Sprite 1000", "Sprite 5000", "Sprite 10000"};
inline constexpr std::array<const char*, 6> kOglSubTests{
    "Scene 1", "Lines (x1000)", "Scene 1 CPUs", "Scene 2", "Polygons (x1000)", "Scene 2 CPUs"};

// The fixed sub-test names of a test; empty for MMT (named by the instruction sets the processor
// has) and the tests without sub-tests.
constexpr std::span<const char* const> SubTestNames(int test) {
  switch (test) {
    case kTestAlu: return kAluSubTests;
    case kTestFpu: return kFpuSubTests;
    case kTestMem: return kMemSubTests;
    case kTestHdd: return kHddSubTests;
    case kTestGdi: return kGdiSubTests;
    case kTestD2d: return kD2dSubTests;
    case kTestOgl: return kOglSubTests;
    default: return {};
  }
}

// A sub-test's name, or "" when the test has no fixed name at that index.
constexpr const char* SubTestName(int test, int index) {
  const auto names = SubTestNames(test);
  return index >= 0 && static_cast<size_t>(index) < names.size() ? names[static_cast<size_t>(index)]
                                                                 : "";
}

}  // namespace velora
