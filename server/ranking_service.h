#pragma once
// The ranking service over HTTP: registration, deletion, and the site (listings, entry pages,
// comparisons, the style sheet and the JSON view), behind the service's own front
// (whole-request deadlines, bounded heads, bodies and queue), with a rate limit per address and
// a log line per request.

#include <functional>
#include <memory>
#include <string>

#include "server/entry_store.h"
#include "server/http_front.h"
#include "server/password_hash.h"
#include "server/rate_limiter.h"
#include "server/registrar.h"
#include "server/reply_cache.h"

namespace velora::server {

constexpr const char* kResultHeader = "X-Velora-Result";

struct ServiceOptions {
  std::string host = "127.0.0.1";  // an IPv6 address without brackets
  int port = 8009;  // 0: a free port of the system's choosing
  std::string databasePath;  // a SQLite file, or postgresql://...
  HashCost hashCost = HashCost::kInteractive;
  RateLimit rateLimit;
  int threads = 8;
  // A request's head and body together must arrive within this.
  int requestSeconds = 10;
  // Complete requests waiting for a worker; one more is answered 503.
  size_t queueLength = 64;
  // The address of a reverse proxy whose X-Forwarded-For names the client; empty: none.
  std::string trustedProxy;
  Clock clock = SystemSeconds;
  // One line per request, and the service's own notices; stderr when empty.
  std::function<void(const std::string&)> log;
};

class RankingService {
 public:
  RankingService();
  ~RankingService();
  RankingService(const RankingService&) = delete;
  RankingService& operator=(const RankingService&) = delete;

  // Opens the database and starts listening on threads of its own; false with problem() set.
  bool Start(ServiceOptions options);
  // Stops taking connections, lets the requests already read finish, closes the database.
  void Stop();

  int port() const { return port_; }
  const std::string& problem() const { return problem_; }

 private:
  // The posts and every page of the site; false with problem_ set when the site cannot read.
  bool Route();
  HttpReply Handle(const HttpRequest& request);
  HttpReply Refused(Refusal why, const HttpRequest& request);
  HttpReply Post(const HttpRequest& request, const std::function<int32_t(std::string_view)>& rule);
  // The handler's replies kept while the database is unchanged.
  HttpHandler Cached(HttpHandler handler);
  std::string ClientOf(const HttpRequest& request) const;
  void LogRequest(const HttpRequest& request, const HttpReply& reply) const;
  void Log(const std::string& line) const;

  ServiceOptions options_;
  std::unique_ptr<EntryStore> store_;
  std::unique_ptr<Registrar> registrar_;
  std::unique_ptr<RateLimiter> limiter_;
  ReplyCache cache_;
  HttpRouter router_;
  std::unique_ptr<HttpFront> front_;
  int port_ = 0;
  std::string problem_;
};

}  // namespace velora::server
