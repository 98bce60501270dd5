#pragma once
// The network facts only the kernel's calls give: each interface's IPv4 and IPv6 addresses and
// the name of the driver behind an interface that has no device folder.

#include <string>
#include <vector>

namespace velora {

struct InterfaceAddress {
  std::string interfaceName;
  std::string address;  // dotted IPv4, or IPv6 with its prefix length ("fd00::2/64")
  std::string mask;     // dotted IPv4 mask; "" for IPv6
  bool ipv6 = false;
};

// Every IPv4 and IPv6 address of every interface, in the order the kernel lists them.
std::vector<InterfaceAddress> ReadInterfaceAddresses();

// The driver the kernel names for an interface ("veth", "bridge", ...); "" when it says none.
std::string InterfaceDriverName(const std::string& interfaceName);

}  // namespace velora
