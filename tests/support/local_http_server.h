#pragma once
// A tiny HTTP listener on 127.0.0.1 with a port of the system's choosing: it records every
// request it receives and answers each with a fixed raw reply, or never answers at all.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velora::testing {

class LocalHttpServer {
 public:
  // An empty reply: read the request, then hold the connection without a word until destroyed.
  // holdAfterReply: keep the connection open after the reply, as a server that promised more.
  explicit LocalHttpServer(std::string reply, bool holdAfterReply = false)
      : reply_(std::move(reply)), hold_(holdAfterReply) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
  }
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  int port() const { return port_; }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

  // Every request received so far, head and body as they came.
  std::vector<std::string> requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  // The body of the last request.
  std::string lastBody() const {
    const std::vector<std::string> all = requests();
    if (all.empty()) return {};
    const size_t end = all.back().find("\r\n\r\n");
    return end == std::string::npos ? std::string() : all.back().substr(end + 4);
  }

 private:
  // Waits for fd to become readable; false once the server is stopping.
  bool WaitReadable(int fd) {
    pollfd p{fd, POLLIN, 0};
    while (!stop_) {
      if (poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  void Serve() {
    while (WaitReadable(listener_)) {
      const int connection = accept(listener_, nullptr, nullptr);
      if (connection < 0) continue;
      std::string request = ReadRequest(connection);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(std::move(request));
      }
      for (size_t sent = 0; sent < reply_.size();) {
        const ssize_t n =
            send(connection, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
      }
      if (reply_.empty() || hold_) {
        while (!stop_) usleep(5000);
      }
      close(connection);
    }
  }

  std::string ReadRequest(int connection) {
    std::string request;
    size_t wanted = std::string::npos;
    char buffer[4096];
    while (request.size() < wanted && WaitReadable(connection)) {
      const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<size_t>(n));
      const size_t head = request.find("\r\n\r\n");
      if (head != std::string::npos && wanted == std::string::npos) {
        size_t length = 0;
        const size_t at = request.find("Content-Length:");
        if (at != std::string::npos && at < head)
          length = std::strtoul(request.c_str() + at + 15, nullptr, 10);
        wanted = head + 4 + length;
      }
    }
    return request;
  }

  std::string reply_;
  bool hold_ = false;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

// A port nobody listens on: bound, then let go.
inline int RefusingPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

}  // namespace velora::testing
