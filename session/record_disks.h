#pragma once
// The identification blocks of a machine's disks as a recording keeps them: ATA IDENTIFY in
// hdparm --Istdin text (NAME.identify.txt), NVMe identify data as the controller gave it
// (NAME.nvme-ctrl.bin, NAME.nvme-nsN.bin).

#include <string>
#include <vector>

#include "info/block_devices.h"
#include "platform/disk_commands.h"

namespace velora {

struct DiskFile {
  std::string name;  // in the recording's disks folder
  std::string bytes;
};

struct DiskFiles {
  std::vector<DiskFile> files;
  int identified = 0;
  std::vector<std::string> missing;  // "vda does not answer identification"
};

// Asks each disk as the Disk page does (ATA IDENTIFY, then the IDE driver's copy; NVMe
// Identify), nodes under devRoot + "/dev". serials false blanks serial numbers and world-wide
// names in what is kept.
DiskFiles ReadDiskFiles(const std::vector<BlockDevice>& devices, DiskCommands& commands,
                        bool serials, const std::string& devRoot = "");

}  // namespace velora
