#include "server/test_names.h"

#include "server/body_keys.h"

namespace velora::server {

namespace {

// By test, in the body's order of test keys; a test the product does not run has none. MMT's
// sub-tests are the instruction sets of the entrant's processor in this order; every x86-64
// processor has the earlier ones of a later one.
const std::vector<const char*> kSubTestNames[] = {
    {"Fibonacci", "Napierian", "Eratosthenes", "QuickSort"},
    {"MikoFPU", "RandMeanSS", "FFT", "Mandelbrot"},
    {"Read", "Write", "Read/Write", "Cache"},
    {"Read", "Write", "RandomRead512K", "RandomWrite512K", "RandomRead 64K", "RandomWrite 64K"},
    {"SSE2", "AVX2", "AVX-512"},
    {"Text", "Square", "Circle", "BitBlt"},
    {"Sprite 10", "Sprite 100", "Sprite 500", "Sprite 1000", "Sprite 5000", "Sprite 10000"},
    {},
    {"Scene 1", "Lines (x1000)", "Scene 1 CPUs", "Scene 2", "Polygons (x1000)", "Scene 2 CPUs"},
    {},
};

const std::vector<TestNames>& Tests() {
  static const std::vector<TestNames> tests = [] {
    std::vector<TestNames> all;
    for (size_t t = 0; t < kTestKeys.size(); ++t) {
      all.push_back({kTestKeys[t], t < std::size(kSubTestNames) ? kSubTestNames[t]
                                                                 : std::vector<const char*>()});
    }
    return all;
  }();
  return tests;
}

}  // namespace

std::span<const TestNames> SiteTests() { return Tests(); }

int TestIndexOf(std::string_view key) {
  for (size_t t = 0; t < Tests().size(); ++t) {
    if (key == Tests()[t].key) return static_cast<int>(t);
  }
  return -1;
}

std::string SubTestName(size_t test, int n) {
  if (test >= Tests().size() || n < 1) return {};
  const std::vector<const char*>& names = Tests()[test].subTests;
  return static_cast<size_t>(n) <= names.size() ? names[static_cast<size_t>(n) - 1] : "";
}

bool OffersRanking(size_t test) { return test < Tests().size() && !Tests()[test].subTests.empty(); }

}  // namespace velora::server
