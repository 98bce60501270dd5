#pragma once
// Scores within what the tests can measure: the engine saturates every sub-test score and value
// at the largest 32-bit integer, and the client its sums, so nothing larger comes from a run.

#include <cstdint>

#include "server/registration.h"

namespace velora::server {

// The largest score, test score, sub-test score or value a run gives.
constexpr int64_t kLargestScore = 2147483647;

// 0, or kBadNumber when Mark, a test score, a sub-test score or its value lies above
// kLargestScore.
int32_t CheckScoreBounds(const Registration& registration);

}  // namespace velora::server
