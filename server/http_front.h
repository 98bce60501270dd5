#pragma once
// The service's HTTP front. One thread polls every connection and reads each request's head and
// body under one deadline for the whole request, so a client that sends a byte at a time holds
// no worker; only complete requests reach the workers, through a bounded queue (503 with
// Retry-After when it is full). A request whose client has gone by the time a worker takes it
// is dropped unanswered.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/http_message.h"
#include "server/http_router.h"
#include "server/listen_address.h"

namespace velora::server {

struct FrontOptions {
  int workers = 8;
  size_t queueLength = 64;
  int requestSeconds = 10;  // from a request's first byte to the end of its body
  int keepAliveSeconds = 5;  // an idle connection waits this long for its next request
  int writeSeconds = 10;
  HeadLimits head;
  size_t maxBodyBytes = 256 * 1024;
  size_t maxConnections = 900;
  int keepAliveRequests = 100;
};

// Why the front answered (or dropped) a request without its handler.
enum class Refusal {
  kMalformed,  // 400
  kLate,  // 408: the head or body did not arrive in time
  kBodyTooLarge,  // 413
  kHeadTooLarge,  // 431
  kBusy,  // 503: the queue is full
  kAbandoned,  // the client left before a worker took the request; nothing is sent
};

class HttpFront {
 public:
  // The reply for a refusal; `request` holds what was read of it (its head, when complete).
  using Refuser = std::function<HttpReply(Refusal, const HttpRequest&)>;

  explicit HttpFront(FrontOptions options) : options_(std::move(options)) {}
  ~HttpFront();
  HttpFront(const HttpFront&) = delete;
  HttpFront& operator=(const HttpFront&) = delete;

  bool Listen(const ListenAddress& address, std::string& problem);
  int port() const { return port_; }
  // Complete requests waiting for a worker.
  size_t queued();
  void Start(HttpHandler handler, Refuser refuser);
  // Takes no new connection, finishes the requests already read, then returns.
  void Stop();

 private:
  using Clock = std::chrono::steady_clock;
  struct Connection {
    int fd = -1;
    std::string remote;
    std::string in;
    HttpRequest request;
    bool headRead = false;
    bool started = false;  // a byte of the present request has arrived
    Clock::time_point deadline;
    int served = 0;
    // A refusal being written, after which the rest of the request is read and thrown away for a
    // moment, so that closing does not reset the connection before the client reads the reply.
    bool lingering = false;
    std::string out;
    size_t sent = 0;
  };
  struct Job {
    std::unique_ptr<Connection> connection;
    Clock::time_point queued;
  };

  void Loop();
  void Accept();
  void Read(int fd);
  void Advance(int fd);
  void Dispatch(int fd);
  void Refuse(Connection& connection, Refusal why);
  void Linger(int fd);
  void Expire(Clock::time_point now);
  void Close(int fd);
  void Work();
  void Serve(Job job);
  void Wake();

  FrontOptions options_;
  HttpHandler handler_;
  Refuser refuser_;
  int listener_ = -1;
  int wake_ = -1;
  int port_ = 0;
  std::map<int, std::unique_ptr<Connection>> connections_;  // the loop's own

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> queue_;
  std::vector<std::unique_ptr<Connection>> returned_;  // kept alive, back to the loop
  bool stopping_ = false, workersStopping_ = false;

  std::thread loop_;
  std::vector<std::thread> workers_;
};

}  // namespace velora::server
