#include "server/listen_address.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velora::server {

std::optional<ListenAddress> ParseListenAddress(const std::string& text) {
  ListenAddress address;
  size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  if (text.front() == '[') {
    if (text[colon - 1] != ']' || colon < 3) return std::nullopt;
    address.host = text.substr(1, colon - 2);
  } else {
    address.host = text.substr(0, colon);
    // An IPv6 host needs its brackets, or its last group would pass for the port.
    if (address.host.find(':') != std::string::npos) return std::nullopt;
  }
  const std::string port = text.substr(colon + 1);
  if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  address.port = std::atoi(port.c_str());
  if (address.port > 65535) return std::nullopt;
  return address;
}

std::string ShowAddress(const std::string& host, int port) {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

int OpenListener(const ListenAddress& address, int& port, std::string& problem) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(address.port);
  const int lookup = getaddrinfo(address.host.c_str(), service.c_str(), &hints, &found);
  if (lookup != 0) {
    problem = gai_strerror(lookup);
    return -1;
  }
  int fd = -1;
  for (addrinfo* at = found; at != nullptr && fd < 0; at = at->ai_next) {
    fd = socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, at->ai_protocol);
    if (fd < 0) continue;
    // Only to take a port back from TIME_WAIT after a restart: on Linux this does not let two
    // listeners share it (SO_REUSEPORT would, and is not set).
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, at->ai_addr, at->ai_addrlen) != 0 || listen(fd, 1024) != 0) {
      problem = std::strerror(errno);
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd < 0) return -1;
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
  port = bound.ss_family == AF_INET6
             ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
             : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  return fd;
}

}  // namespace velora::server
