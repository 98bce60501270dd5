#pragma once
// The address the service listens on: "HOST:PORT", an IPv6 host in brackets ("[::1]:8010").
// One listener per address: a second service on a port in use is refused, not shared.

#include <optional>
#include <string>

namespace velora::server {

struct ListenAddress {
  std::string host = "127.0.0.1";
  int port = 8009;  // 0: a free port of the system's choosing
};

std::optional<ListenAddress> ParseListenAddress(const std::string& text);

// "host:port", with brackets around an IPv6 host.
std::string ShowAddress(const std::string& host, int port);

// A listening socket, non-blocking, with the port it got; -1 with problem set when the address
// cannot be had (in use, not an address of this machine).
int OpenListener(const ListenAddress& address, int& port, std::string& problem);

}  // namespace velora::server
