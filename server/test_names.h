#pragma once
// The tests and their sub-tests by name, as the site shows them: the engine's table of names
// (a header alone: the service links none of the engine), joined to the registration body's
// test keys.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velora::server {

struct TestNames {
  std::string key;  // the registration body's ("ALU"), in its order
  // Sub-test n + 1's name at index n; a test the product does not run has none.
  std::vector<const char*> subTests;
};

// The ten tests in body order.
std::span<const TestNames> SiteTests();

// Test 0 to 9 by its key, or -1 when there is no such test.
int TestIndexOf(std::string_view key);

// The name of sub-test n (1 to 8) of test t, or "" when the product has none there.
std::string SubTestName(size_t test, int n);

// Whether the site offers a ranking of that test: the product runs it.
bool OffersRanking(size_t test);

}  // namespace velora::server
