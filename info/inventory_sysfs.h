#pragma once
// The inventory read from the kernel's files under a root folder (sysfs, procfs, the package
// and installer logs), so a recorded tree stands in for a whole machine.

#include <optional>
#include <string>

#include "info/inventory_sources.h"
#include "probe/pci/pci_name_database.h"

namespace velora {

struct SysfsInventoryOptions {
  std::string root;           // "" for the running system
  std::string programFolder;  // where the PCI name databases are
  // The SMBIOS version the probe read from the tables ("2.7"), when it could.
  std::string probeSmbiosVersion;
  // The OpenGL renderer of a context made on the display device, when one could be made.
  std::string openGlRenderer;
};

class SysfsInventorySources : public InventorySources {
 public:
  explicit SysfsInventorySources(SysfsInventoryOptions options);

  std::vector<DiskObject> Disks() override;
  std::optional<BiosObject> Bios() override;
  std::optional<ComputerSystemObject> ComputerSystem() override;
  std::optional<BaseBoardObject> BaseBoard() override;
  std::optional<OperatingSystemObject> OperatingSystem() override;
  std::optional<StorageControllerObject> StorageController() override;
  std::optional<VideoControllerObject> VideoController() override;

  // The PCI function folder of the display device (under the root), "" when there is none.
  std::string PrimaryDisplayDevice() const;

 private:
  std::string Path(const std::string& path) const { return options_.root + path; }
  std::string Dmi(const std::string& name) const;

  SysfsInventoryOptions options_;
  PciNameDatabase names_;
};

// The interface of a block device as at most four letters: "NVMe", "SATA", "SAS", "USB",
// "MMC", "VIRT", "SCSI"; from its name and the path of its device folder.
std::string DiskInterfaceOf(const std::string& blockName, const std::string& devicePath);

// The size in bytes of the largest prefetchable memory window in a PCI "resource" file.
std::optional<uint64_t> LargestPrefetchableWindow(const std::string& resourceText);

// The "%d.%d" of an SMBIOS version text such as "2.7"; nullopt when it does not read so.
std::optional<std::pair<int, int>> SmbiosVersionNumbers(const std::string& text);

}  // namespace velora
