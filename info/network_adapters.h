#pragma once
// The Device page's network adapter list: one row per interface of a listed type, each with its
// own addresses. The interface of the default route comes first, interfaces that are down and
// have no address last; the kernel's interface order otherwise.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/network_interfaces.h"

namespace velora {

// Type, Adapter Name (with its leading blank), MAC, IP address, mask, gateway, DHCP server, IPv6
// addresses (", " between them), link state, MTU.
using NetworkAdapterRow = std::array<std::string, 10>;

// Where an interface goes in the list: 0 for the default route's, 2 for one that is down (its
// sysfs operstate) without an address, 1 for the rest.
int AdapterListRank(bool defaultRoute, bool hasAddress, const std::string& operstate);

// The link column of a sysfs operstate: "up" reads "Up", "lowerlayerdown" "Lower Layer Down".
std::string LinkStateText(const std::string& operstate);

// The list's name of a kernel interface type (ARPHRD_*), or null for a type not listed (the
// loopback among them). Wireless interfaces report Ethernet framing and are named apart.
const char* InterfaceTypeName(int hardwareType, bool wireless);

// "%02X:..." of the first six bytes of a sysfs "address" text; "" for a shorter address.
std::string MacText(const std::string& sysfsAddress);

// The default route's gateway of an interface in /proc/net/route; "" when it has none.
std::string DefaultGatewayOf(const std::string& routeTable, const std::string& interfaceName);

// The DHCP server of an interface's lease: dhclient's "option dhcp-server-identifier" (the
// last lease for the interface wins), or a "SERVER_ADDRESS=" line of systemd-networkd and
// NetworkManager lease files.
std::string DhcpServerInDhclientLeases(const std::string& leases, const std::string& interfaceName);
std::string DhcpServerInKeyValueLease(const std::string& lease);

struct NetworkReadings {
  std::string root;           // "" for the running system
  std::string programFolder;  // where the PCI name databases are
  std::vector<InterfaceAddress> addresses;
  std::function<std::string(const std::string&)> driverName;
};

std::vector<NetworkAdapterRow> ReadNetworkAdapters(const NetworkReadings& readings);

// The running system's list.
std::vector<NetworkAdapterRow> ReadNetworkAdapters(const std::string& programFolder);

}  // namespace velora
