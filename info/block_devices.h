#pragma once
// The machine's disks as the kernel lists them in /sys/block (under a root folder, so recorded
// trees replay), with what the kernel and udev tell every user about each.

#include <cstdint>
#include <string>
#include <vector>

namespace velora {

enum class DiskTransport { kAta, kScsi, kSas, kUsb, kNvme, kVirtio, kMmc, kOther };

struct BlockDevice {
  std::string name;  // "sda", "nvme0n1"
  DiskTransport transport = DiskTransport::kOther;
  bool packet = false;  // an optical drive: IDENTIFY PACKET DEVICE
  bool removable = false;
  bool sataLink = false;  // its ATA link reports a Serial ATA speed
  uint64_t sizeBytes = 0;
  std::string model, serialNumber, firmwareRevision;
  // NVMe: the controller's PCI Express link, "PCIe 4.0 x4"; empty when not known.
  std::string linkNow, linkMaximum;
};

// Whole disks in a stable order (by name, numbers in numeric order); loop, RAM, zram,
// device-mapper, software RAID and network block devices, hidden multipath paths and empty
// non-optical devices are left out.
std::vector<BlockDevice> ListBlockDevices(const std::string& root = "");

// At most 4 characters: "SATA", "ATA", "SCSI", "SAS", "USB", "NVMe", "VIRT", "MMC", "".
std::string TransportText(const BlockDevice& device);

// "PCIe 4.0 x4" from the kernel's link attributes ("16.0 GT/s PCIe", "4"); empty when the speed
// is not one of the PCI Express generations.
std::string PcieLinkText(const std::string& speed, const std::string& width);

}  // namespace velora
