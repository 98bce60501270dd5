#pragma once
// The firmware's facts (BIOS, system, board) read from recorded SMBIOS tables, where a machine
// would have them from the kernel's decode in /sys/class/dmi/id; everything else comes from
// the sources it wraps.

#include <optional>

#include "info/inventory_sources.h"
#include "platform/replay/recorded_smbios.h"

namespace velora {

class SmbiosInventorySources : public InventorySources {
 public:
  // Both outlive this object.
  SmbiosInventorySources(InventorySources& rest, const SmbiosRecording& tables)
      : rest_(rest), tables_(tables) {}

  std::vector<DiskObject> Disks() override { return rest_.Disks(); }
  std::optional<BiosObject> Bios() override;
  std::optional<ComputerSystemObject> ComputerSystem() override;
  std::optional<BaseBoardObject> BaseBoard() override;
  std::optional<OperatingSystemObject> OperatingSystem() override { return rest_.OperatingSystem(); }
  std::optional<StorageControllerObject> StorageController() override {
    return rest_.StorageController();
  }
  std::optional<VideoControllerObject> VideoController() override {
    return rest_.VideoController();
  }

 private:
  InventorySources& rest_;
  const SmbiosRecording& tables_;
};

}  // namespace velora
