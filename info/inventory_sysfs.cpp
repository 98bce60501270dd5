#include "info/inventory_sysfs.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "info/block_devices.h"
#include "info/sysfs_text.h"
#include "probe/smbios/smbios_entry_point.h"

namespace velora {

namespace fs = std::filesystem;

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::vector<std::string> SortedNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The folder a sysfs link leads to, resolved inside the root.
std::string Resolved(const std::string& path) {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(path, ec);
  return ec ? std::string() : real.string();
}

std::string LinkName(const std::string& link) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(link, ec);
  return ec ? std::string() : target.filename().string();
}

std::string DayOf(std::time_t t) {
  std::tm utc{};
  if (gmtime_r(&t, &utc) == nullptr) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
  return text;
}

std::optional<std::time_t> ModifiedTime(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_mtime;
}

std::optional<std::time_t> BirthTime(const std::string& path) {
  struct statx sx {};
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) != 0) return std::nullopt;
  if ((sx.stx_mask & STATX_BTIME) == 0) return std::nullopt;
  return static_cast<std::time_t>(sx.stx_btime.tv_sec);
}

// "2023-05-01 12:00:00 startup ..." of the first dpkg log line.
std::optional<std::string> FirstPackageLogDay(const std::string& path) {
  const std::string line = ReadFirstLine(path);
  if (line.size() < 10 || line[4] != '-' || line[7] != '-') return std::nullopt;
  return line.substr(0, 4) + line.substr(5, 2) + line.substr(8, 2);
}

constexpr std::time_t k1980 = 315532800;  // 1980-01-01 UTC

}  // namespace

std::string DiskInterfaceOf(const std::string& blockName, const std::string& devicePath) {
  if (StartsWith(blockName, "nvme")) return "NVMe";
  if (StartsWith(blockName, "mmcblk")) return "MMC";
  if (StartsWith(blockName, "vd") || StartsWith(blockName, "xvd")) return "VIRT";
  if (devicePath.find("/usb") != std::string::npos) return "USB";
  if (devicePath.find("/ata") != std::string::npos) return "SATA";
  if (devicePath.find("/end_device-") != std::string::npos) return "SAS";
  if (devicePath.find("/virtio") != std::string::npos) return "VIRT";
  return "SCSI";
}

std::optional<uint64_t> LargestPrefetchableWindow(const std::string& resourceText) {
  constexpr uint64_t kPrefetch = 0x2000;  // IORESOURCE_PREFETCH
  constexpr int kBars = 6;
  std::istringstream lines(resourceText);
  std::string line;
  uint64_t largest = 0;
  for (int bar = 0; bar < kBars && std::getline(lines, line); ++bar) {
    unsigned long long start = 0, end = 0, flags = 0;
    if (std::sscanf(line.c_str(), "%llx %llx %llx", &start, &end, &flags) != 3) continue;
    if ((flags & kPrefetch) == 0 || end <= start) continue;
    largest = std::max<uint64_t>(largest, end - start + 1);
  }
  if (largest == 0) return std::nullopt;
  return largest;
}

std::optional<std::pair<int, int>> SmbiosVersionNumbers(const std::string& text) {
  int major = 0, minor = 0;
  if (std::sscanf(text.c_str(), "%d.%d", &major, &minor) != 2 || major <= 0) return std::nullopt;
  return std::make_pair(major, minor);
}

SysfsInventorySources::SysfsInventorySources(SysfsInventoryOptions options)
    : options_(std::move(options)), names_(options_.programFolder) {}

std::string SysfsInventorySources::Dmi(const std::string& name) const {
  return ReadFirstLine(Path("/sys/class/dmi/id/" + name));
}

std::vector<DiskObject> SysfsInventorySources::Disks() {
  std::vector<DiskObject> disks;
  const std::string block = Path("/sys/block");
  // The Disk page's names of the disks, so that the Ranking page's list offers each disk once
  // under one name (a virtio disk's "vendor" attribute is its PCI vendor id, "0x1af4").
  const std::vector<BlockDevice> listed = ListBlockDevices(options_.root);
  for (const std::string& name : SortedNames(block)) {
    if (StartsWith(name, "loop") || StartsWith(name, "ram") || StartsWith(name, "zram") ||
        StartsWith(name, "dm-")) {
      continue;
    }
    const std::string folder = block + "/" + name;
    const std::string real = Resolved(folder);
    std::string vendor = ReadFirstLine(folder + "/device/vendor");
    std::string model = ReadFirstLine(folder + "/device/model");
    // Disk vendors on ATA links all read "ATA"; the model names the disk.
    if (vendor == "ATA") vendor.clear();
    DiskObject disk;
    disk.caption = vendor.empty() ? model : (model.empty() ? vendor : vendor + " " + model);
    const auto same = std::find_if(listed.begin(), listed.end(),
                                   [&](const BlockDevice& d) { return d.name == name; });
    if (same != listed.end() && !same->model.empty()) disk.caption = same->model;
    disk.interfaceType = DiskInterfaceOf(name, real);
    const unsigned long long sectors =
        std::strtoull(ReadFirstLine(folder + "/size").c_str(), nullptr, 10);
    disk.size = std::to_string(sectors * 512ULL);  // sysfs counts 512-byte sectors
    disks.push_back(disk);
  }
  return disks;
}

std::optional<BiosObject> SysfsInventorySources::Bios() {
  if (!fs::exists(Path("/sys/class/dmi/id"))) return std::nullopt;
  BiosObject bios;
  bios.releaseDate = FirmwareDateToDateTime(Dmi("bios_date"));
  bios.manufacturer = Dmi("bios_vendor");
  bios.caption = Dmi("bios_version");
  bios.smbiosBiosVersion = bios.caption;
  const std::string release = Dmi("bios_release");
  bios.version = release.empty() ? bios.caption : release;

  std::optional<std::pair<int, int>> numbers = SmbiosVersionNumbers(options_.probeSmbiosVersion);
  if (!numbers) {
    const std::string entry = ReadSmallFile(Path("/sys/firmware/dmi/tables/smbios_entry_point"));
    const SmbiosEntryPoint point =
        FindSmbiosEntryPoint(reinterpret_cast<const uint8_t*>(entry.data()), entry.size());
    numbers = SmbiosVersionNumbers(point.version);
  }
  if (numbers) {
    bios.smbiosMajor = numbers->first;
    bios.smbiosMinor = numbers->second;
  }
  return bios;
}

std::optional<ComputerSystemObject> SysfsInventorySources::ComputerSystem() {
  if (!fs::exists(Path("/sys/class/dmi/id"))) return std::nullopt;
  return ComputerSystemObject{Dmi("sys_vendor"), Dmi("product_name")};
}

std::optional<BaseBoardObject> SysfsInventorySources::BaseBoard() {
  if (!fs::exists(Path("/sys/class/dmi/id"))) return std::nullopt;
  return BaseBoardObject{Dmi("board_vendor"), Dmi("board_name"), Dmi("board_version")};
}

std::optional<OperatingSystemObject> SysfsInventorySources::OperatingSystem() {
  // The installer's log was written while the system was installed.
  if (auto t = ModifiedTime(Path("/var/log/installer/syslog"))) {
    return OperatingSystemObject{DayOf(*t)};
  }
  if (auto t = BirthTime(Path("/")); t && *t > k1980) return OperatingSystemObject{DayOf(*t)};
  std::optional<std::string> day;
  if (auto t = ModifiedTime(Path("/etc/machine-id"))) day = DayOf(*t);
  if (auto first = FirstPackageLogDay(Path("/var/log/dpkg.log"));
      first && (!day || *first < *day)) {
    day = first;
  }
  if (!day) return std::nullopt;
  return OperatingSystemObject{*day};
}

std::optional<StorageControllerObject> SysfsInventorySources::StorageController() {
  const std::string devices = Path("/sys/bus/pci/devices");
  for (const std::string& name : SortedNames(devices)) {
    const std::string folder = devices + "/" + name;
    const uint32_t classCode = HexNumber(ReadFirstLine(folder + "/class"));
    const uint32_t base = classCode >> 16, sub = (classCode >> 8) & 0xFF;
    // IDE, RAID, SATA and NVM express controllers.
    if (base != 0x01 || (sub != 0x01 && sub != 0x04 && sub != 0x06 && sub != 0x08)) continue;
    const uint32_t vendor = HexNumber(ReadFirstLine(folder + "/vendor"));
    const uint32_t device = HexNumber(ReadFirstLine(folder + "/device"));
    std::string vendorName, deviceName;
    names_.VendorName(vendor, vendorName);
    if (!names_.DeviceName(vendor, device, deviceName)) names_.ClassName(classCode, deviceName);
    std::string caption = vendorName;
    if (!deviceName.empty()) caption += (caption.empty() ? "" : " ") + deviceName;
    return StorageControllerObject{caption};
  }
  return std::nullopt;
}

std::string SysfsInventorySources::PrimaryDisplayDevice() const {
  const std::string drm = Path("/sys/class/drm");
  std::string firstCard;
  for (const std::string& name : SortedNames(drm)) {
    if (!StartsWith(name, "card") || name.find('-') == std::string::npos) continue;
    if (ReadFirstLine(drm + "/" + name + "/status") == "connected") {
      return Resolved(drm + "/" + name.substr(0, name.find('-')) + "/device");
    }
  }
  // No connector says connected: the device the firmware booted on.
  const std::string devices = Path("/sys/bus/pci/devices");
  for (const std::string& name : SortedNames(devices)) {
    if (ReadFirstLine(devices + "/" + name + "/boot_vga") == "1")
      return Resolved(devices + "/" + name);
  }
  return {};
}

std::optional<VideoControllerObject> SysfsInventorySources::VideoController() {
  const std::string device = PrimaryDisplayDevice();
  if (device.empty()) return std::nullopt;
  PciChip chip;
  chip.vendor = HexNumber(ReadFirstLine(device + "/vendor"));
  chip.device = HexNumber(ReadFirstLine(device + "/device"));
  chip.revision = HexNumber(ReadFirstLine(device + "/revision"));
  const uint32_t subVendor = HexNumber(ReadFirstLine(device + "/subsystem_vendor"));

  VideoControllerObject video;
  names_.VendorName(chip.vendor, video.adapterCompatibility);
  if (!names_.ChipName(kVideoDatabase, chip, video.videoProcessor)) {
    names_.DeviceName(chip.vendor, chip.device, video.videoProcessor);
  }
  const std::string& renderer = options_.openGlRenderer;
  const bool softwareRenderer = renderer.find("llvmpipe") != std::string::npos ||
                                renderer.find("softpipe") != std::string::npos ||
                                renderer.find("swrast") != std::string::npos;
  if (!renderer.empty() && !softwareRenderer) {
    video.caption = renderer;
  } else {
    std::string boardMaker;
    if (subVendor != 0) names_.VendorName(subVendor, boardMaker);
    video.caption =
        boardMaker.empty() ? video.videoProcessor : boardMaker + " " + video.videoProcessor;
  }
  video.driverName = LinkName(device + "/driver");
  if (!video.driverName.empty()) {
    video.driverFileVersion = ReadFirstLine(Path("/sys/module/" + video.driverName + "/version"));
  }
  video.driverVersion = ReadFirstLine(Path("/proc/sys/kernel/osrelease"));
  const std::string vram = ReadFirstLine(device + "/mem_info_vram_total");
  if (!vram.empty()) {
    video.adapterRamBytes = std::strtoull(vram.c_str(), nullptr, 10);
  } else {
    video.adapterRamBytes = LargestPrefetchableWindow(ReadSmallFile(device + "/resource"));
  }
  return video;
}

}  // namespace velora
