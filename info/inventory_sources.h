#pragma once
// Where the inventory collector's seven sections read from: one call per section, each giving
// the properties that section stores. An absent property is the empty text; an absent object
// is nullopt. Implementations may throw; the collector guards every section.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "info/inventory_rules.h"

namespace velora {

struct BiosObject {
  std::string releaseDate;  // "YYYYMMDD..."
  std::string version, manufacturer, caption, smbiosBiosVersion;
  std::optional<int> smbiosMajor, smbiosMinor;
};

struct ComputerSystemObject {
  std::string manufacturer, model;
};

struct BaseBoardObject {
  std::string manufacturer, product, version;
};

struct OperatingSystemObject {
  std::string installDate;  // "YYYYMMDD..."
};

struct StorageControllerObject {
  std::string caption;
};

struct VideoControllerObject {
  std::string adapterCompatibility, videoProcessor, caption;
  std::string driverName;
  std::string driverFileVersion;  // the driver module's own version
  std::string driverVersion;      // the fallback: the kernel's release
  std::string driverDate;         // "YYYYMMDD...", where the driver publishes one
  std::optional<uint64_t> adapterRamBytes;
};

class InventorySources {
 public:
  virtual ~InventorySources() = default;
  virtual std::vector<DiskObject> Disks() = 0;
  virtual std::optional<BiosObject> Bios() = 0;
  virtual std::optional<ComputerSystemObject> ComputerSystem() = 0;
  virtual std::optional<BaseBoardObject> BaseBoard() = 0;
  virtual std::optional<OperatingSystemObject> OperatingSystem() = 0;
  virtual std::optional<StorageControllerObject> StorageController() = 0;
  virtual std::optional<VideoControllerObject> VideoController() = 0;
};

}  // namespace velora
