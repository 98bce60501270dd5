#include "server/score_bounds.h"

#include <string>

#include "server/body_keys.h"
#include "server/result_codes.h"

namespace velora::server {

namespace {

constexpr int kSubTests = 8;

bool Within(const Registration& registration, const std::string& key) {
  // The value is a checked integer of at most 19 digits, so it reads without overflow.
  return registration.Integer(key) <= kLargestScore;
}

}  // namespace

int32_t CheckScoreBounds(const Registration& registration) {
  if (!Within(registration, "Mark")) return kBadNumber;
  for (const std::string& test : kTestKeys) {
    if (!Within(registration, "T" + test)) return kBadNumber;
    for (int n = 1; n <= kSubTests; ++n) {
      const std::string sub = test + std::to_string(n);
      if (!Within(registration, sub) || !Within(registration, sub + "V")) return kBadNumber;
    }
  }
  return 0;
}

}  // namespace velora::server
