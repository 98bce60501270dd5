#pragma once
// Replies of pages kept while the database has not changed: every write bumps the store's
// generation (in any service on the same database), and a reply of another generation is
// never served.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "server/http_message.h"

namespace velora::server {

class ReplyCache {
 public:
  explicit ReplyCache(size_t capacity = 4096) : capacity_(capacity) {}

  std::optional<HttpReply> Find(const std::string& key, int64_t generation);
  void Keep(const std::string& key, int64_t generation, const HttpReply& reply);

 private:
  size_t capacity_;
  std::mutex mutex_;
  int64_t generation_ = -1;
  std::map<std::string, HttpReply> replies_;
};

}  // namespace velora::server
