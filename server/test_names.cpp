#include "server/test_names.h"

#include "engine/test_catalog.h"
#include "server/body_keys.h"

namespace velora::server {

namespace {

// MMT's sub-tests are the instruction sets of the entrant's processor in this order; every x86-64
// processor has the earlier ones of a later one.
constexpr const char* kMmtSubTests[] = {"SSE2", "AVX2", "AVX-512"};

// By test, in the body's order of test keys, which is the product's order of test ids from ALU
// on; a test the product does not run has none.
std::vector<const char*> SubTestsOf(size_t keyIndex) {
  const int test = static_cast<int>(keyIndex) + kTestAlu;
  if (test == kTestMmt) return {std::begin(kMmtSubTests), std::end(kMmtSubTests)};
  const auto names = SubTestNames(test);
  return {names.begin(), names.end()};
}

const std::vector<TestNames>& Tests() {
  static const std::vector<TestNames> tests = [] {
    std::vector<TestNames> all;
    for (size_t t = 0; t < kTestKeys.size(); ++t) {
      all.push_back({kTestKeys[t], SubTestsOf(t)});
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
