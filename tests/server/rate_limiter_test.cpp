#include "server/rate_limiter.h"

#include <gtest/gtest.h>

namespace velora::server {
namespace {

using std::chrono::seconds;

TEST(RateLimiter, AllowsABurstThenRefillsAtItsRatePerAddress) {
  RateLimiter limiter({60, 3});  // one a second
  const RateLimiter::Instant start{};
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limiter.Admit("10.0.0.1", start)) << i;
  EXPECT_FALSE(limiter.Admit("10.0.0.1", start));
  EXPECT_TRUE(limiter.Admit("10.0.0.2", start));  // another address has its own bucket
  EXPECT_TRUE(limiter.Admit("10.0.0.1", start + seconds(1)));
  EXPECT_FALSE(limiter.Admit("10.0.0.1", start + seconds(1)));
  // A long pause fills the bucket no further than the burst.
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limiter.Admit("10.0.0.1", start + seconds(500))) << i;
  EXPECT_FALSE(limiter.Admit("10.0.0.1", start + seconds(500)));
}

TEST(RateLimiter, ARateOfZeroAdmitsEverything) {
  RateLimiter limiter({0, 0});
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(limiter.Admit("10.0.0.1"));
}

}  // namespace
}  // namespace velora::server
