#pragma once
// Requests per address: a bucket of `burst` requests that refills at `perMinute`; a request
// that finds the bucket empty is turned away.

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace velora::server {

struct RateLimit {
  double perMinute = 120;  // 0 turns the limit off
  double burst = 60;
};

class RateLimiter {
 public:
  using Instant = std::chrono::steady_clock::time_point;

  explicit RateLimiter(RateLimit limit) : limit_(limit) {}

  bool Admit(const std::string& address, Instant now = std::chrono::steady_clock::now());

 private:
  struct Bucket {
    double tokens = 0;
    Instant updated;
  };

  RateLimit limit_;
  std::mutex mutex_;
  std::map<std::string, Bucket> buckets_;
  Instant lastSweep_{};
};

}  // namespace velora::server
