#include "server/http_front.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace velora::server {


namespace {

constexpr auto kLingerTime = std::chrono::seconds(2);
constexpr size_t kReadChunk = 16 * 1024;

std::string RemoteOf(const sockaddr_storage& address) {
  char text[INET6_ADDRSTRLEN] = "";
  if (address.ss_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&address)->sin_addr, text,
              sizeof text);
  } else if (address.ss_family == AF_INET6) {
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&address)->sin6_addr, text,
              sizeof text);
  }
  std::string remote = text;
  // An IPv4 client of a dual-stack listener is counted under its IPv4 address.
  if (remote.rfind("::ffff:", 0) == 0 && remote.find('.') != std::string::npos)
    remote.erase(0, 7);
  return remote;
}

// Writes all of `text` to a non-blocking socket before the deadline.
bool SendAll(int fd, const std::string& text, std::chrono::steady_clock::time_point deadline) {
  size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLOUT, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
  }
  return true;
}

// True when the client has closed its end or the connection broke.
bool ClientGone(int fd) {
  pollfd p{fd, POLLRDHUP, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

}  // namespace

HttpFront::~HttpFront() {
  Stop();
  if (listener_ >= 0) close(listener_);
}

bool HttpFront::Listen(const ListenAddress& address, std::string& problem) {
  listener_ = OpenListener(address, port_, problem);
  return listener_ >= 0;
}

size_t HttpFront::queued() {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

void HttpFront::Start(HttpHandler handler, Refuser refuser) {
  handler_ = std::move(handler);
  refuser_ = std::move(refuser);
  wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  loop_ = std::thread([this] { Loop(); });
  for (int i = 0; i < std::max(1, options_.workers); ++i) workers_.emplace_back([this] { Work(); });
}

void HttpFront::Stop() {
  if (!loop_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  Wake();
  loop_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    workersStopping_ = true;
  }
  ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
  for (auto& connection : returned_) close(connection->fd);
  returned_.clear();
  close(wake_);
  wake_ = -1;
}

void HttpFront::Wake() {
  const uint64_t one = 1;
  if (write(wake_, &one, sizeof one) < 0) {
    // The counter is full, so the loop is due to wake anyway.
  }
}

void HttpFront::Loop() {
  std::vector<pollfd> polled;
  while (true) {
    std::vector<std::unique_ptr<Connection>> back;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) break;
      back.swap(returned_);
    }
    for (auto& connection : back) {
      const int fd = connection->fd;
      connections_[fd] = std::move(connection);
      Advance(fd);  // the client may have sent its next request already
    }
    polled.clear();
    polled.push_back({wake_, POLLIN, 0});
    if (connections_.size() < options_.maxConnections) polled.push_back({listener_, POLLIN, 0});
    Clock::time_point nearest = Clock::now() + std::chrono::seconds(1);
    for (const auto& [fd, connection] : connections_) {
      const bool writing = connection->lingering && connection->sent < connection->out.size();
      polled.push_back({fd, static_cast<short>(writing ? POLLOUT : POLLIN), 0});
      nearest = std::min(nearest, connection->deadline);
    }
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(nearest - Clock::now()).count();
    if (poll(polled.data(), polled.size(), static_cast<int>(std::max<int64_t>(wait, 0) + 1)) < 0 &&
        errno != EINTR) {
      break;
    }
    for (const pollfd& p : polled) {
      if (p.revents == 0) continue;
      if (p.fd == wake_) {
        uint64_t count = 0;
        if (read(wake_, &count, sizeof count) < 0) continue;
      } else if (p.fd == listener_) {
        Accept();
      } else if (connections_.count(p.fd) != 0) {
        if (connections_[p.fd]->lingering)
          Linger(p.fd);
        else
          Read(p.fd);
      }
    }
    Expire(Clock::now());
  }
  for (auto& [fd, connection] : connections_) close(fd);
  connections_.clear();
  close(listener_);
  listener_ = -1;
}

void HttpFront::Accept() {
  while (connections_.size() < options_.maxConnections) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    const int fd = accept4(listener_, reinterpret_cast<sockaddr*>(&address), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    // Replies go out whole in one write; waiting to fill a segment only delays them.
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    connection->remote = RemoteOf(address);
    connection->request.remoteAddress = connection->remote;
    connection->deadline = Clock::now() + std::chrono::seconds(options_.keepAliveSeconds);
    connections_[fd] = std::move(connection);
  }
}

void HttpFront::Read(int fd) {
  Connection& connection = *connections_[fd];
  char buffer[kReadChunk];
  const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
    Close(fd);
    return;
  }
  if (n < 0) return;
  if (!connection.started) {
    connection.started = true;
    connection.deadline = Clock::now() + std::chrono::seconds(options_.requestSeconds);
  }
  connection.in.append(buffer, static_cast<size_t>(n));
  Advance(fd);
}

void HttpFront::Advance(int fd) {
  Connection& connection = *connections_[fd];
  if (!connection.headRead) {
    const HeadResult head = ParseHead(connection.in, options_.head, connection.request);
    switch (head.status) {
      case HeadStatus::kIncomplete: return;
      case HeadStatus::kTooLarge: return Refuse(connection, Refusal::kHeadTooLarge);
      case HeadStatus::kMalformed: return Refuse(connection, Refusal::kMalformed);
      case HeadStatus::kComplete: break;
    }
    connection.in.erase(0, head.headBytes);
    connection.headRead = true;
    if (static_cast<uint64_t>(connection.request.contentLength) > options_.maxBodyBytes) {
      return Refuse(connection, Refusal::kBodyTooLarge);
    }
  }
  const auto length = static_cast<size_t>(connection.request.contentLength);
  if (connection.in.size() < length) return;
  connection.request.body = connection.in.substr(0, length);
  connection.in.erase(0, length);
  Dispatch(fd);
}

void HttpFront::Dispatch(int fd) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() < options_.queueLength) {
      queue_.push_back({std::move(connections_[fd]), Clock::now()});
      connections_.erase(fd);
      ready_.notify_one();
      return;
    }
  }
  Refuse(*connections_[fd], Refusal::kBusy);
}

void HttpFront::Refuse(Connection& connection, Refusal why) {
  const HttpReply reply = refuser_(why, connection.request);
  connection.out = WriteReply(reply, false, connection.request.method == "HEAD");
  connection.sent = 0;
  connection.lingering = true;
  connection.deadline = Clock::now() + kLingerTime;
  Linger(connection.fd);
}

void HttpFront::Linger(int fd) {
  Connection& connection = *connections_[fd];
  if (connection.sent < connection.out.size()) {
    const ssize_t n = send(fd, connection.out.data() + connection.sent,
                           connection.out.size() - connection.sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return Close(fd);
    if (n > 0) connection.sent += static_cast<size_t>(n);
    if (connection.sent < connection.out.size()) return;
    shutdown(fd, SHUT_WR);
  }
  char buffer[kReadChunk];
  while (true) {
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n > 0) continue;
    if (n == 0 || (errno != EAGAIN && errno != EINTR)) Close(fd);
    return;
  }
}

void HttpFront::Expire(Clock::time_point now) {
  std::vector<int> late;
  for (const auto& [fd, connection] : connections_) {
    if (connection->deadline <= now) late.push_back(fd);
  }
  for (const int fd : late) {
    Connection& connection = *connections_[fd];
    if (connection.lingering || !connection.started) {
      Close(fd);  // a refusal sent, or an idle connection between requests
    } else {
      Refuse(connection, Refusal::kLate);
    }
  }
}

void HttpFront::Close(int fd) {
  close(fd);
  connections_.erase(fd);
}

void HttpFront::Work() {
  while (true) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return workersStopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    Serve(std::move(job));
  }
}

void HttpFront::Serve(Job job) {
  Connection& connection = *job.connection;
  const int fd = connection.fd;
  const bool headOnly = connection.request.method == "HEAD";
  if (ClientGone(fd)) {
    refuser_(Refusal::kAbandoned, connection.request);
    close(fd);
    return;
  }
  // A request that waited out its own deadline in the queue is answered as the busy one it met.
  const bool stale =
      Clock::now() - job.queued > std::chrono::seconds(options_.requestSeconds);
  const HttpReply reply =
      stale ? refuser_(Refusal::kBusy, connection.request) : handler_(connection.request);
  bool keep = !stale && connection.request.keepAlive && !reply.close &&
              connection.served + 1 < options_.keepAliveRequests;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    keep = keep && !stopping_;
  }
  const bool sent = SendAll(fd, WriteReply(reply, keep, headOnly),
                            Clock::now() + std::chrono::seconds(options_.writeSeconds));
  if (!sent || !keep) {
    close(fd);
    return;
  }
  ++connection.served;
  connection.headRead = false;
  connection.request = HttpRequest();
  connection.request.remoteAddress = connection.remote;
  connection.started = !connection.in.empty();
  connection.deadline =
      Clock::now() + std::chrono::seconds(connection.started ? options_.requestSeconds
                                                             : options_.keepAliveSeconds);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    returned_.push_back(std::move(job.connection));
  }
  Wake();
}

}  // namespace velora::server
