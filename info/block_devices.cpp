#include "info/block_devices.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <system_error>
#include <tuple>

#include "info/sysfs_text.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool Listed(const std::string& name) {
  for (const char* skipped : {"loop", "ram", "zram", "dm-", "md", "nbd", "fd", "zd", "drbd"})
    if (StartsWith(name, skipped)) return false;
  return true;
}

// Inside the root: a link that points outside it is not followed.
fs::path Resolved(const fs::path& path, const fs::path& root) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  if (ec) return {};
  if (!root.empty()) {
    const std::string r = root.string(), p = real.string();
    if (p != r && p.rfind(r + "/", 0) != 0) return {};
  }
  return real;
}

DiskTransport TransportOf(const std::string& name, const std::string& devicePath) {
  auto has = [&](const char* pattern) {
    return std::regex_search(devicePath, std::regex(pattern));
  };
  if (StartsWith(name, "nvme") || has("/nvme/")) return DiskTransport::kNvme;
  if (StartsWith(name, "mmcblk")) return DiskTransport::kMmc;
  if (StartsWith(name, "vd") || has("/virtio[0-9]+/")) return DiskTransport::kVirtio;
  if (has("/usb[0-9]+/")) return DiskTransport::kUsb;
  if (has("/ata[0-9]+/")) return DiskTransport::kAta;
  if (has("/end_device-|/sas_")) return DiskTransport::kSas;
  if (has("/host[0-9]+/")) return DiskTransport::kScsi;
  return DiskTransport::kOther;
}

// The Serial ATA speed of the link a libata disk hangs on, "<unknown>" for parallel ATA.
bool SataLink(const std::string& devicePath, const fs::path& root) {
  std::smatch m;
  if (!std::regex_search(devicePath, m, std::regex("^(.*/ata[0-9]+)/"))) return false;
  std::error_code ec;
  for (const auto& link : fs::directory_iterator(m[1].str(), ec)) {
    const std::string leaf = link.path().filename().string();
    if (!StartsWith(leaf, "link")) continue;
    const fs::path speed = Resolved(link.path() / "ata_link" / leaf / "sata_spd", root);
    if (!speed.empty() && ReadAttribute(speed).find("Gbps") != std::string::npos) return true;
  }
  return false;
}

// udev's database entry of a block device: "E:KEY=value" lines, readable by every user.
std::string UdevValue(const std::string& entry, const std::string& key) {
  const std::string wanted = "E:" + key + "=";
  size_t at = entry.find(wanted);
  while (at != std::string::npos && at != 0 && entry[at - 1] != '\n')
    at = entry.find(wanted, at + 1);
  if (at == std::string::npos) return "";
  const size_t start = at + wanted.size();
  return entry.substr(start, entry.find('\n', start) - start);
}

// udev writes unsafe characters of model texts as \xNN.
std::string UnescapeUdev(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
      out.push_back(static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16)));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// Numbers in numeric order: sdb before sdaa, nvme2n1 before nvme10n1.
bool NameOrder(const std::string& a, const std::string& b) {
  auto key = [](const std::string& s) {
    const std::string letters = s.substr(0, s.find_first_of("0123456789"));
    const bool scsi = StartsWith(letters, "sd");
    return std::tuple(scsi ? std::string("sd") : letters, letters.size(), letters, s.size(), s);
  };
  return key(a) < key(b);
}

void ReadIdentity(BlockDevice& d, const fs::path& block, const fs::path& root) {
  const fs::path device = block / "device";
  switch (d.transport) {
    case DiskTransport::kNvme:
    case DiskTransport::kMmc:
      d.model = ReadAttribute(device / (d.transport == DiskTransport::kMmc ? "name" : "model"));
      d.serialNumber = ReadAttribute(device / "serial");
      d.firmwareRevision =
          ReadAttribute(device / (d.transport == DiskTransport::kMmc ? "fwrev" : "firmware_rev"));
      break;
    case DiskTransport::kVirtio:
      // The kernel knows no model of a virtio disk; its serial only when the host gave one.
      d.model = "Virtio Block Device";
      d.serialNumber = ReadAttribute(block / "serial");
      break;
    default: {
      const std::string vendor = ReadAttribute(device / "vendor");
      d.model = ReadAttribute(device / "model");
      // libata answers "ATA" for every disk; other vendors belong in front of the model.
      if (!vendor.empty() && vendor != "ATA") d.model = vendor + " " + d.model;
      d.firmwareRevision = ReadAttribute(device / "rev");
      break;
    }
  }
  // udev keeps the whole model (the SCSI model attribute holds only 16 characters) and the serial.
  const std::string dev = ReadAttribute(block / "dev");
  if (!dev.empty()) {
    const std::string entry = ReadSmallFile((root / "run/udev/data" / ("b" + dev)).string());
    const std::string model = TrimBlanks(UnescapeUdev(UdevValue(entry, "ID_MODEL_ENC")));
    const std::string vendor = TrimBlanks(UnescapeUdev(UdevValue(entry, "ID_VENDOR_ENC")));
    if (!model.empty() && d.transport != DiskTransport::kVirtio)
      d.model = (!vendor.empty() && vendor != "ATA" && d.transport != DiskTransport::kAta &&
                 d.transport != DiskTransport::kNvme)
                    ? vendor + " " + model
                    : model;
    const std::string serial = UdevValue(entry, "ID_SERIAL_SHORT");
    if (!serial.empty() && d.serialNumber.empty()) d.serialNumber = serial;
    const std::string revision = UdevValue(entry, "ID_REVISION");
    if (!revision.empty() && d.firmwareRevision.empty()) d.firmwareRevision = revision;
  }
}

void ReadPcieLink(BlockDevice& d, const fs::path& block, const fs::path& root) {
  const fs::path controller = Resolved(block / "device", root);
  if (controller.empty()) return;
  fs::path function = Resolved(controller / "device", root);
  if (function.empty() && controller.parent_path().filename() == "nvme")
    function = controller.parent_path().parent_path();
  if (function.empty()) return;
  d.linkNow = PcieLinkText(ReadAttribute(function / "current_link_speed"),
                           ReadAttribute(function / "current_link_width"));
  d.linkMaximum = PcieLinkText(ReadAttribute(function / "max_link_speed"),
                               ReadAttribute(function / "max_link_width"));
}

}  // namespace

std::string PcieLinkText(const std::string& speed, const std::string& width) {
  struct Generation {
    double gigaTransfers;
    const char* name;
  };
  static constexpr Generation kGenerations[] = {{2.5, "1.0"},  {5.0, "2.0"},  {8.0, "3.0"},
                                                {16.0, "4.0"}, {32.0, "5.0"}, {64.0, "6.0"}};
  if (speed.find("GT/s") == std::string::npos) return "";
  const double rate = std::strtod(speed.c_str(), nullptr);
  const char* generation = nullptr;
  for (const Generation& g : kGenerations)
    if (rate == g.gigaTransfers) generation = g.name;
  if (generation == nullptr) return "";
  const long lanes = std::strtol(width.c_str(), nullptr, 10);
  std::string text = std::string("PCIe ") + generation;
  if (lanes > 0) text += " x" + std::to_string(lanes);
  return text;
}

std::string TransportText(const BlockDevice& device) {
  switch (device.transport) {
    case DiskTransport::kAta: return device.sataLink ? "SATA" : "ATA";
    case DiskTransport::kScsi: return "SCSI";
    case DiskTransport::kSas: return "SAS";
    case DiskTransport::kUsb: return "USB";
    case DiskTransport::kNvme: return "NVMe";
    case DiskTransport::kVirtio: return "VIRT";
    case DiskTransport::kMmc: return "MMC";
    case DiskTransport::kOther: break;
  }
  return "";
}

std::vector<BlockDevice> ListBlockDevices(const std::string& rootText) {
  const fs::path root = rootText.empty() ? fs::path() : Resolved(rootText, {});
  if (!rootText.empty() && root.empty()) return {};
  const fs::path blocks = root.empty() ? fs::path("/sys/block") : root / "sys/block";
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(blocks, ec)) {
    const std::string name = entry.path().filename().string();
    if (Listed(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), NameOrder);

  std::vector<BlockDevice> devices;
  for (const std::string& name : names) {
    const fs::path block = Resolved(blocks / name, root);
    if (block.empty() || ReadAttribute(block / "hidden") == "1") continue;
    BlockDevice d;
    d.name = name;
    const std::string devicePath = Resolved(block / "device", root).string();
    d.transport = TransportOf(name, devicePath.empty() ? block.string() : devicePath + "/");
    const std::string type = ReadAttribute(block / "device" / "type");
    d.packet = StartsWith(name, "sr") || type == "5";
    d.removable = ReadAttribute(block / "removable") == "1";
    d.sizeBytes = std::strtoull(ReadAttribute(block / "size").c_str(), nullptr, 10) * 512;
    if (d.sizeBytes == 0 && !d.packet) continue;
    if (d.transport == DiskTransport::kAta) d.sataLink = SataLink(devicePath + "/", root);
    ReadIdentity(d, block, root);
    if (d.transport == DiskTransport::kNvme) ReadPcieLink(d, block, root);
    devices.push_back(std::move(d));
  }
  return devices;
}

}  // namespace velora
