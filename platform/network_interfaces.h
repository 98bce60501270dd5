#pragma once
// The network facts only the kernel's calls give: each interface's IPv4 addresses and the
// name of the driver behind an interface that has no device folder.

#include <string>
#include <vector>

namespace velora {

struct InterfaceAddress {
  std::string interfaceName;
  std::string address;  // dotted IPv4
  std::string mask;
};

// Every IPv4 address of every interface, in the order the kernel lists them.
std::vector<InterfaceAddress> ReadInterfaceAddresses();

// The driver the kernel names for an interface ("veth", "bridge", ...); "" when it says none.
std::string InterfaceDriverName(const std::string& interfaceName);

}  // namespace velora
