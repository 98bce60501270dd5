#include "server/reply_cache.h"

namespace velora::server {

std::optional<HttpReply> ReplyCache::Find(const std::string& key, int64_t generation) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (generation != generation_) return std::nullopt;
  const auto found = replies_.find(key);
  if (found == replies_.end()) return std::nullopt;
  return found->second;
}

void ReplyCache::Keep(const std::string& key, int64_t generation, const HttpReply& reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (generation < generation_) return;  // already out of date
  if (generation > generation_) {
    replies_.clear();
    generation_ = generation;
  }
  // Past its size, the cache starts again rather than keep the count of every key's use.
  if (replies_.size() >= capacity_) replies_.clear();
  replies_[key] = reply;
}

}  // namespace velora::server
