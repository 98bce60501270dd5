#pragma once
// The ranking service over HTTP: registration, deletion, the entry pages, the style sheet and
// the JSON view, with bounded requests, a rate limit per address and a log line per request.

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "server/entry_store.h"
#include "server/password_hash.h"
#include "server/rate_limiter.h"
#include "server/registrar.h"

namespace httplib {
class Server;
}

namespace velora::server {

constexpr const char* kResultHeader = "X-Velora-Result";

struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 8009;  // 0: a free port of the system's choosing
  std::string databasePath;
  HashCost hashCost = HashCost::kInteractive;
  RateLimit rateLimit;
  int threads = 8;
  // A request whose head and body take longer than this is cut off.
  int requestSeconds = 10;
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

  // Opens the database and starts listening on a thread of its own; false with problem() set.
  bool Start(ServiceOptions options);
  // Stops taking connections, lets the requests in progress finish, closes the database.
  void Stop();

  int port() const { return port_; }
  const std::string& problem() const { return problem_; }

 private:
  void Route();
  void Log(const std::string& line) const;

  ServiceOptions options_;
  std::unique_ptr<EntryStore> store_;
  std::unique_ptr<Registrar> registrar_;
  std::unique_ptr<RateLimiter> limiter_;
  std::unique_ptr<httplib::Server> http_;
  std::thread listener_;
  int port_ = 0;
  std::string problem_;
};

}  // namespace velora::server
