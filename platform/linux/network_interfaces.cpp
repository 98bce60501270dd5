#include "platform/network_interfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace velora {

namespace {

std::string Dotted(const sockaddr* address) {
  if (address == nullptr || address->sa_family != AF_INET) return {};
  char text[INET_ADDRSTRLEN] = "";
  const auto* in = reinterpret_cast<const sockaddr_in*>(address);
  if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) == nullptr) return {};
  return text;
}

// The prefix length of an IPv6 mask: its leading one bits.
int PrefixLength(const sockaddr* mask) {
  if (mask == nullptr || mask->sa_family != AF_INET6) return 128;
  const auto* in = reinterpret_cast<const sockaddr_in6*>(mask);
  int bits = 0;
  for (unsigned char byte : in->sin6_addr.s6_addr) {
    for (int bit = 7; bit >= 0 && (byte >> bit) & 1; --bit) ++bits;
    if (byte != 0xFF) break;
  }
  return bits;
}

std::string WithPrefix(const sockaddr* address, const sockaddr* mask) {
  char text[INET6_ADDRSTRLEN] = "";
  const auto* in = reinterpret_cast<const sockaddr_in6*>(address);
  if (inet_ntop(AF_INET6, &in->sin6_addr, text, sizeof text) == nullptr) return {};
  return std::string(text) + "/" + std::to_string(PrefixLength(mask));
}

}  // namespace

std::vector<InterfaceAddress> ReadInterfaceAddresses() {
  std::vector<InterfaceAddress> out;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return out;
  for (ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
    if (a->ifa_addr == nullptr) continue;
    if (a->ifa_addr->sa_family == AF_INET) {
      out.push_back({a->ifa_name, Dotted(a->ifa_addr), Dotted(a->ifa_netmask), false});
    } else if (a->ifa_addr->sa_family == AF_INET6) {
      out.push_back({a->ifa_name, WithPrefix(a->ifa_addr, a->ifa_netmask), "", true});
    }
  }
  freeifaddrs(list);
  return out;
}

std::string InterfaceDriverName(const std::string& interfaceName) {
  if (interfaceName.size() >= IFNAMSIZ) return {};
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return {};
  ethtool_drvinfo info{};
  info.cmd = ETHTOOL_GDRVINFO;
  ifreq request{};
  std::memcpy(request.ifr_name, interfaceName.c_str(), interfaceName.size());
  request.ifr_data = reinterpret_cast<char*>(&info);
  const bool ok = ioctl(fd, SIOCETHTOOL, &request) == 0;
  close(fd);
  if (!ok) return {};
  return std::string(info.driver, strnlen(info.driver, sizeof info.driver));
}

}  // namespace velora
