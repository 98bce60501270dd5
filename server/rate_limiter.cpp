#include "server/rate_limiter.h"

#include <algorithm>

namespace velora::server {

bool RateLimiter::Admit(const std::string& address, Instant now) {
  if (limit_.perMinute <= 0) return true;
  std::lock_guard<std::mutex> lock(mutex_);
  const double perSecond = limit_.perMinute / 60;
  const auto seconds = [](Instant from, Instant to) {
    return std::chrono::duration<double>(to - from).count();
  };
  // Full buckets say nothing; dropping them keeps the map as small as the current visitors.
  if (seconds(lastSweep_, now) > 60) {
    std::erase_if(buckets_, [&](const auto& item) {
      return item.second.tokens + seconds(item.second.updated, now) * perSecond >= limit_.burst;
    });
    lastSweep_ = now;
  }
  auto [at, added] = buckets_.try_emplace(address, Bucket{limit_.burst, now});
  Bucket& bucket = at->second;
  if (!added) {
    bucket.tokens = std::min(
        limit_.burst, bucket.tokens + std::max(0.0, seconds(bucket.updated, now)) * perSecond);
    bucket.updated = now;
  }
  if (bucket.tokens < 1) return false;
  bucket.tokens -= 1;
  return true;
}

}  // namespace velora::server
