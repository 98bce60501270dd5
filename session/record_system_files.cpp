#include "session/record_system_files.h"

#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "platform/mount_query.h"
#include "session/record_privacy.h"

namespace velora {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

void CopyEach(TreeCopier& copier, const std::string& folder,
              std::initializer_list<const char*> names) {
  for (const char* name : names) copier.Copy(folder + "/" + name);
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

constexpr std::initializer_list<const char*> kDmiNames = {
    "bios_date",      "bios_release",   "bios_vendor",    "bios_version",
    "board_name",     "board_vendor",   "board_version",  "chassis_type",
    "chassis_vendor", "chassis_version", "product_family", "product_name",
    "product_sku",    "product_version", "sys_vendor",     "ec_firmware_release"};
constexpr std::initializer_list<const char*> kDmiSerialNames = {
    "board_serial", "chassis_serial", "product_serial", "product_uuid",
    "board_asset_tag", "chassis_asset_tag"};

constexpr std::initializer_list<const char*> kPciNames = {
    "class",  "vendor", "device", "revision", "subsystem_vendor", "subsystem_device",
    "boot_vga", "resource", "mem_info_vram_total", "current_link_speed",
    "current_link_width", "max_link_speed", "max_link_width", "driver"};

void RecordProcAndEtc(TreeCopier& copier) {
  for (const char* path :
       {"/etc/os-release", "/usr/lib/os-release", "/proc/meminfo", "/proc/uptime",
        "/proc/sys/kernel/osrelease", "/proc/sys/vm/mmap_min_addr", "/proc/self/status",
        "/proc/net/route",
        "/sys/firmware/dmi/tables/smbios_entry_point"}) {
    copier.Copy(path);
  }
}

// Mount points that are single files (a container's /etc/hostname) are recognised by being
// files; an empty stand-in keeps that without their content. Only binds are looked at (a
// file's mount has a root of its own), never a network or automounted one, which could stall.
void RecordMounts(TreeCopier& copier, const std::string& mountinfo) {
  std::istringstream lines(mountinfo);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string id, parent, devno, root, point, field, type;
    if (!(fields >> id >> parent >> devno >> root >> point)) continue;
    while (fields >> field && field != "-") {
    }
    fields >> type;
    unsigned major = 0, minor = 0;
    if (std::sscanf(devno.c_str(), "%u:%u", &major, &minor) == 2 && major != 0) {
      const std::string dev = "/sys/dev/block/" + devno;
      copier.Copy(dev + "/removable");
      copier.Copy(dev + "/../removable");
    }
    if (root == "/" || major == 0 || type == "autofs" || IsNetworkFileSystem(type) ||
        StartsWith(type, "fuse") || point.find('\\') != std::string::npos) {
      continue;
    }
    copier.Copy(point, [](std::string) -> std::optional<std::string> { return std::string(); });
  }
}

// The installation's day as the collectors find it: the installer's log by its time (its
// content names this machine's network), the package log by its first line.
void RecordInstallation(TreeCopier& copier) {
  copier.Copy("/var/log/installer/syslog",
              [](std::string) -> std::optional<std::string> { return std::string(); });
  copier.Copy("/var/log/dpkg.log", [](std::string log) -> std::optional<std::string> {
    return log.substr(0, log.find('\n') + 1);
  });
}

void RecordDmi(TreeCopier& copier, bool serials) {
  const std::string id = "/sys/class/dmi/id";
  for (const char* name : kDmiNames) copier.Copy(id + "/" + name);
  if (serials)
    for (const char* name : kDmiSerialNames) copier.Copy(id + "/" + name);
}

void RecordAtaLinks(TreeCopier& copier, const std::string& device) {
  const size_t ata = device.find("/ata");
  if (ata == std::string::npos) return;
  const std::string port = device.substr(0, device.find('/', ata + 1));
  for (const std::string& link : copier.List(port)) {
    if (StartsWith(link, "link")) copier.Copy(port + "/" + link + "/ata_link/" + link + "/sata_spd");
  }
}

void RecordBlockDevices(TreeCopier& copier, bool serials) {
  const std::string blocks = "/sys/block";
  for (const std::string& name : copier.List(blocks)) {
    const std::string block = blocks + "/" + name;
    CopyEach(copier, block, {"size", "removable", "hidden", "ro"});
    const std::string device = block + "/device";
    CopyEach(copier, device, {"vendor", "model", "rev", "type", "firmware_rev", "name", "fwrev"});
    CopyEach(copier, device + "/device", {"current_link_speed", "current_link_width",
                                          "max_link_speed", "max_link_width"});
    if (serials) {
      copier.Copy(block + "/serial");
      copier.Copy(device + "/serial");
      copier.Copy(device + "/wwid");
    }
    if (const auto reached = copier.Reached(device)) RecordAtaLinks(copier, *reached + "/");
    std::string dev;
    if (!copier.Copy(block + "/dev", {}, &dev)) continue;
    while (!dev.empty() && (dev.back() == '\n' || dev.back() == ' ')) dev.pop_back();
    if (dev.empty() || dev.find('/') != std::string::npos) continue;
    TreeCopier::Edit edit;
    if (!serials) edit = [](std::string entry) -> std::optional<std::string> {
      return UdevEntryWithoutSerials(entry);
    };
    copier.Copy("/run/udev/data/b" + dev, edit);
  }
}

void RecordPciFunctions(TreeCopier& copier) {
  const std::string devices = "/sys/bus/pci/devices";
  for (const std::string& name : copier.List(devices)) {
    const std::string function = devices + "/" + name;
    for (const char* attribute : kPciNames) copier.Copy(function + "/" + attribute);
    if (const auto driver = copier.Reached(function + "/driver"))
      copier.Copy("/sys/module/" + BaseName(*driver) + "/version");
  }
}

void RecordDisplays(TreeCopier& copier) {
  const std::string drm = "/sys/class/drm";
  for (const std::string& name : copier.List(drm)) {
    if (!StartsWith(name, "card")) continue;
    copier.Copy(drm + "/" + name + (name.find('-') == std::string::npos ? "/device" : "/status"));
  }
}

void RecordNetwork(TreeCopier& copier, bool serials) {
  const std::string net = "/sys/class/net";
  for (const std::string& name : copier.List(net)) {
    const std::string folder = net + "/" + name;
    CopyEach(copier, folder, {"ifindex", "type", "operstate", "mtu", "wireless", "phy80211"});
    if (serials) copier.Copy(folder + "/address");
    CopyEach(copier, folder + "/device", {"vendor", "device", "driver", "../manufacturer",
                                          "../product"});
  }
}

void RecordCaches(TreeCopier& copier) {
  const std::string cpus = "/sys/devices/system/cpu";
  CopyEach(copier, cpus, {"online", "possible", "present"});
  for (const std::string& cpu : copier.List(cpus)) {
    if (cpu.size() < 4 || !StartsWith(cpu, "cpu") || cpu[3] < '0' || cpu[3] > '9') continue;
    const std::string cache = cpus + "/" + cpu + "/cache";
    for (const std::string& index : copier.List(cache)) {
      if (StartsWith(index, "index"))
        CopyEach(copier, cache + "/" + index, {"type", "level", "size", "shared_cpu_list"});
    }
  }
}

}  // namespace

void RecordSystemFiles(TreeCopier& copier, bool serials) {
  RecordProcAndEtc(copier);
  // A host name tells whose machine it is, as a serial number does.
  if (serials) copier.Copy("/proc/sys/kernel/hostname");
  std::string mountinfo;
  TreeCopier::Edit edit;
  if (!serials) edit = [](std::string table) -> std::optional<std::string> {
    return MountTableWithoutSerials(table);
  };
  if (copier.Copy("/proc/self/mountinfo", edit, &mountinfo)) RecordMounts(copier, mountinfo);
  RecordInstallation(copier);
  RecordDmi(copier, serials);
  RecordBlockDevices(copier, serials);
  RecordPciFunctions(copier);
  RecordDisplays(copier);
  RecordNetwork(copier, serials);
  RecordCaches(copier);
}

}  // namespace velora
