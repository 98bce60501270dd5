#include "info/network_adapters.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "info/inventory_rules.h"
#include "info/sysfs_text.h"
#include "probe/pci/pci_name_database.h"

namespace velora {

namespace fs = std::filesystem;

namespace {

struct TypeName {
  int hardwareType;
  const char* name;
};

// The kernel's ARPHRD numbers of the types the list shows.
constexpr TypeName kListedTypes[] = {
    {1, "Ethernet"},      // ARPHRD_ETHER
    {6, "Token Ring"},    // ARPHRD_IEEE802
    {800, "Token Ring"},  // ARPHRD_IEEE802_TR
    {774, "FDDI"},        // ARPHRD_FDDI
    {512, "PPP"},         // ARPHRD_PPP
    {256, "SLIP"},        // ARPHRD_SLIP
    {257, "SLIP"},        // ARPHRD_CSLIP
    {258, "SLIP"},        // ARPHRD_SLIP6
    {259, "SLIP"},        // ARPHRD_CSLIP6
};

std::string Trimmed(std::string text) {
  text = TrimRight(std::move(text));
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first);
}

// The adapter's own name: the PCI databases for a PCI function, the device's strings for a
// USB one, else the driver's name.
std::string DeviceDescription(const NetworkReadings& r, const PciNameDatabase& names,
                              const std::string& interfaceFolder,
                              const std::string& interfaceName) {
  const std::string device = interfaceFolder + "/device";
  std::error_code ec;
  if (fs::exists(device + "/vendor", ec) && fs::exists(device + "/device", ec)) {
    const uint32_t vendor = HexNumber(ReadFirstLine(device + "/vendor"));
    const uint32_t id = HexNumber(ReadFirstLine(device + "/device"));
    std::string vendorName, deviceName;
    names.VendorName(vendor, vendorName);
    names.DeviceName(vendor, id, deviceName);
    if (!deviceName.empty()) return vendorName.empty() ? deviceName : vendorName + " " + deviceName;
  }
  // A USB interface's folder sits below its device, which carries the strings.
  const std::string usbDevice = device + "/..";
  const std::string maker = ReadFirstLine(usbDevice + "/manufacturer");
  const std::string product = ReadFirstLine(usbDevice + "/product");
  if (!product.empty()) return maker.empty() ? product : maker + " " + product;
  const fs::path driver = fs::read_symlink(device + "/driver", ec);
  if (!ec) return driver.filename().string();
  return r.driverName ? r.driverName(interfaceName) : std::string();
}

struct Interface {
  int index = 0;
  std::string name;
};

std::string DhcpServerOf(const std::string& root, const std::string& name, int index) {
  std::error_code ec;
  for (const char* folder : {"/var/lib/dhcp", "/var/lib/dhclient"}) {
    for (auto it = fs::directory_iterator(root + folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
      if (it->path().extension() != ".leases" && it->path().extension() != ".lease") continue;
      std::string server = DhcpServerInDhclientLeases(ReadSmallFile(it->path().string()), name);
      if (!server.empty()) return server;
    }
  }
  std::string server = DhcpServerInKeyValueLease(
      ReadSmallFile(root + "/run/systemd/netif/leases/" + std::to_string(index)));
  if (!server.empty()) return server;
  for (auto it = fs::directory_iterator(root + "/var/lib/NetworkManager", ec);
       !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (file.size() > name.size() + 7 &&
        file.rfind("-" + name + ".lease") == file.size() - name.size() - 7) {
      server = DhcpServerInKeyValueLease(ReadSmallFile(it->path().string()));
      if (!server.empty()) return server;
    }
  }
  return {};
}

}  // namespace

const char* InterfaceTypeName(int hardwareType, bool wireless) {
  if (wireless && hardwareType == 1) return "Wireless";
  for (const TypeName& t : kListedTypes) {
    if (t.hardwareType == hardwareType) return t.name;
  }
  return nullptr;
}

std::string MacText(const std::string& sysfsAddress) {
  unsigned b[6];
  if (std::sscanf(sysfsAddress.c_str(), "%x:%x:%x:%x:%x:%x", &b[0], &b[1], &b[2], &b[3], &b[4],
                  &b[5]) != 6) {
    return {};
  }
  char text[32];
  std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", b[0] & 0xFF, b[1] & 0xFF,
                b[2] & 0xFF, b[3] & 0xFF, b[4] & 0xFF, b[5] & 0xFF);
  return text;
}

std::string DefaultGatewayOf(const std::string& routeTable, const std::string& interfaceName) {
  std::istringstream lines(routeTable);
  std::string line;
  std::getline(lines, line);  // the heading
  while (std::getline(lines, line)) {
    char name[64] = "";
    unsigned long destination = 0, gateway = 0;
    if (std::sscanf(line.c_str(), "%63s %lx %lx", name, &destination, &gateway) != 3) continue;
    if (name != interfaceName || destination != 0 || gateway == 0) continue;
    // The table holds addresses in the host's (little-endian) byte order.
    char text[32];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", gateway & 0xFF, (gateway >> 8) & 0xFF,
                  (gateway >> 16) & 0xFF, (gateway >> 24) & 0xFF);
    return text;
  }
  return {};
}

std::string DhcpServerInDhclientLeases(const std::string& leases,
                                       const std::string& interfaceName) {
  std::istringstream lines(leases);
  std::string line, current, server, found;
  bool ours = false;
  while (std::getline(lines, line)) {
    line = Trimmed(line);
    if (line.rfind("lease", 0) == 0) {
      ours = false;
      server.clear();
    } else if (line.rfind("interface ", 0) == 0) {
      ours = line == "interface \"" + interfaceName + "\";";
    } else if (line.rfind("option dhcp-server-identifier ", 0) == 0) {
      server = line.substr(30);
      if (!server.empty() && server.back() == ';') server.pop_back();
    } else if (line == "}") {
      if (ours && !server.empty()) found = server;
    }
  }
  return found;
}

std::string DhcpServerInKeyValueLease(const std::string& lease) {
  std::istringstream lines(lease);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("SERVER_ADDRESS=", 0) == 0) return Trimmed(line.substr(15));
  }
  return {};
}

int AdapterListRank(bool defaultRoute, bool hasAddress, const std::string& operstate) {
  if (defaultRoute) return 0;
  const bool down = operstate == "down" || operstate == "lowerlayerdown" ||
                    operstate == "notpresent";
  return down && !hasAddress ? 2 : 1;
}

std::string LinkStateText(const std::string& operstate) {
  if (operstate == "lowerlayerdown") return "Lower Layer Down";
  if (operstate == "notpresent") return "Not Present";
  std::string text = operstate;
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

std::vector<NetworkAdapterRow> ReadNetworkAdapters(const NetworkReadings& r) {
  const std::string net = r.root + "/sys/class/net";
  std::vector<Interface> interfaces;
  std::error_code ec;
  for (auto it = fs::directory_iterator(net, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    interfaces.push_back({std::atoi(ReadFirstLine(net + "/" + name + "/ifindex").c_str()), name});
  }
  std::sort(interfaces.begin(), interfaces.end(), [](const Interface& a, const Interface& b) {
    return a.index != b.index ? a.index < b.index : a.name < b.name;
  });

  const PciNameDatabase names(r.programFolder);
  const std::string routes = ReadSmallFile(r.root + "/proc/net/route");
  std::vector<std::pair<int, NetworkAdapterRow>> ranked;
  for (const Interface& i : interfaces) {
    const std::string folder = net + "/" + i.name;
    const std::string typeText = ReadFirstLine(folder + "/type");
    if (typeText.empty()) continue;
    const bool wireless =
        fs::exists(folder + "/wireless", ec) || fs::exists(folder + "/phy80211", ec);
    const char* type = InterfaceTypeName(std::atoi(typeText.c_str()), wireless);
    if (type == nullptr) continue;
    NetworkAdapterRow row;
    row[0] = type;
    const std::string description = DeviceDescription(r, names, folder, i.name);
    row[1] = " " + (description.empty() ? i.name : description + " (" + i.name + ")");
    row[2] = MacText(ReadFirstLine(folder + "/address"));
    for (const InterfaceAddress& a : r.addresses) {
      if (a.interfaceName != i.name) continue;
      if (a.ipv6) {
        row[7] += (row[7].empty() ? "" : ", ") + a.address;
      } else if (row[3].empty()) {
        row[3] = a.address;
        row[4] = a.mask;
      }
    }
    row[5] = DefaultGatewayOf(routes, i.name);
    row[6] = DhcpServerOf(r.root, i.name, i.index);
    const std::string operstate = ReadFirstLine(folder + "/operstate");
    row[8] = LinkStateText(operstate);
    row[9] = ReadFirstLine(folder + "/mtu");
    const int rank = AdapterListRank(!row[5].empty(), !row[3].empty() || !row[7].empty(), operstate);
    ranked.emplace_back(rank, std::move(row));
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<NetworkAdapterRow> rows;
  for (auto& [rank, row] : ranked) rows.push_back(std::move(row));
  return rows;
}

std::vector<NetworkAdapterRow> ReadNetworkAdapters(const std::string& programFolder) {
  NetworkReadings r;
  r.programFolder = programFolder;
  r.addresses = ReadInterfaceAddresses();
  r.driverName = InterfaceDriverName;
  return ReadNetworkAdapters(r);
}

}  // namespace velora
