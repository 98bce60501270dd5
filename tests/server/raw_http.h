#pragma once
// Bytes straight onto a loopback socket, for requests no well-behaved client would send.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace velora::testing {

// A connected socket to 127.0.0.1 (or ::1); -1 when it cannot connect.
inline int ConnectLoopback(int port, bool v6 = false) {
  const int s = socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
  sockaddr_storage address{};
  socklen_t length = 0;
  if (v6) {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
    in6->sin6_family = AF_INET6;
    in6->sin6_addr = in6addr_loopback;
    in6->sin6_port = htons(static_cast<uint16_t>(port));
    length = sizeof *in6;
  } else {
    auto* in4 = reinterpret_cast<sockaddr_in*>(&address);
    in4->sin_family = AF_INET;
    in4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    in4->sin_port = htons(static_cast<uint16_t>(port));
    length = sizeof *in4;
  }
  if (connect(s, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    close(s);
    return -1;
  }
  return s;
}

// Everything the peer sends until it closes, or until nothing came for `quietMs`.
inline std::string ReadReply(int s, int quietMs = 10000) {
  std::string reply;
  char buffer[16384];
  pollfd p{s, POLLIN, 0};
  while (poll(&p, 1, quietMs) > 0) {
    const ssize_t n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    reply.append(buffer, static_cast<size_t>(n));
  }
  return reply;
}

// Sends `request` as it stands and returns the whole reply.
inline std::string Exchange(int port, const std::string& request, bool v6 = false) {
  const int s = ConnectLoopback(port, v6);
  if (s < 0) return {};
  send(s, request.data(), request.size(), MSG_NOSIGNAL);
  std::string reply = ReadReply(s);
  close(s);
  return reply;
}

}  // namespace velora::testing
