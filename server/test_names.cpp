#include "server/test_names.h"

namespace velora::server {

namespace {

// MMT's sub-tests are the instruction sets of the entrant's processor in this order; every
// x86-64 processor has the earlier ones of a later one.
const TestNames kTests[] = {
    {"ALU", {"Fibonacci", "Napierian", "Eratosthenes", "QuickSort"}},
    {"FPU", {"MikoFPU", "RandMeanSS", "FFT", "Mandelbrot"}},
    {"MEM", {"Read", "Write", "Read/Write", "Cache"}},
    {"HDD",
     {"Read", "Write", "RandomRead512K", "RandomWrite512K", "RandomRead 64K", "RandomWrite 64K"}},
    {"MMT", {"SSE2", "AVX2", "AVX-512"}},
    {"GDI", {"Text", "Square", "Circle", "BitBlt"}},
    {"D2D",
     {"Sprite 10", "Sprite 100", "Sprite 500", "Sprite 1000", "Sprite 5000", "Sprite 10000"}},
    {"D3D", {}},
    {"OGL",
     {"Scene 1", "Lines (x1000)", "Scene 1 CPUs", "Scene 2", "Polygons (x1000)", "Scene 2 CPUs"}},
    {"NET", {}},
};

}  // namespace

std::span<const TestNames> SiteTests() { return kTests; }

int TestIndexOf(std::string_view key) {
  for (size_t t = 0; t < std::size(kTests); ++t) {
    if (key == kTests[t].key) return static_cast<int>(t);
  }
  return -1;
}

std::string SubTestName(size_t test, int n) {
  if (test >= std::size(kTests) || n < 1) return {};
  const std::vector<const char*>& names = kTests[test].subTests;
  return static_cast<size_t>(n) <= names.size() ? names[static_cast<size_t>(n) - 1] : "";
}

bool OffersRanking(size_t test) { return test < std::size(kTests) && !kTests[test].subTests.empty(); }

}  // namespace velora::server
