#pragma once
// Identifying the machine's disks: ATA IDENTIFY through SCSI generic, else the old IDE driver's
// copy, NVMe Identify, and for every disk no command could identify, what the kernel tells
// every user.

#include <string>
#include <vector>

#include "info/ata_identify.h"
#include "info/block_devices.h"
#include "platform/disk_commands.h"

namespace velora {

enum class DiskRowSource { kAtaIdentify, kIdeIdentity, kNvmeIdentify, kKernel };

struct DiskRow {
  DiskIdentity identity;
  std::string interfaceText;  // at most 4 characters
  std::string deviceName;     // "sda"
  DiskRowSource source = DiskRowSource::kKernel;
  // A command would have identified it, but needs root (or CAP_SYS_RAWIO / CAP_SYS_ADMIN).
  bool identifyNeedsPrivilege = false;
};

// One row per device, in the devices' order. devRoot is put in front of "/dev/NAME".
// The ATA methods keep their order: the IDE driver is asked only when SCSI generic identified
// no device at all.
std::vector<DiskRow> IdentifyDisks(const std::vector<BlockDevice>& devices, DiskCommands& commands,
                                   const std::string& devRoot = "");

// The row of an identified ATA or ATAPI device: "SATA" when its maximum mode says so, else "IDE".
DiskRow AtaDiskRow(const IdentifyWords& words, const std::string& deviceName,
                   DiskRowSource source = DiskRowSource::kAtaIdentify);

// A block a device really sent: not all zeros, and its checksum right where word 255 has one.
bool PlausibleIdentify(const IdentifyBlock& block);

}  // namespace velora
