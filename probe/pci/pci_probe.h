#pragma once
// Chipset, video and the PCI device table: ids 0x2000 to 0x2FFD and 0x5000 to 0x5FFD.

#include <cstdint>
#include <string>

#include "probe/pci/pci_device_table.h"
#include "probe/pci/pci_name_database.h"
#include "probe/probe_environment.h"

namespace velora {

// Vendor, device, revision, subsystem and pair of one of the three chips.
struct PciChipIds {
  uint32_t vendor = 0;
  uint32_t device = 0;
  uint32_t revision = 0;
  uint32_t subsystem = 0;  // subsystem vendor << 16 | subsystem id
  uint32_t pair = 0;       // vendor << 16 | device
};

class PciProbe {
 public:
  // Scans the bus at once (nothing when the driver link is not open).
  explicit PciProbe(ProbeEnvironment& env);
  virtual ~PciProbe() = default;
  PciProbe(const PciProbe&) = delete;
  PciProbe& operator=(const PciProbe&) = delete;

  virtual int32_t GetString(uint32_t id, std::string& text);
  virtual int32_t GetInt(uint32_t id, int32_t& value);

  // Run by the power-state commands before they change a processor's state.
  void PrepareChipsetK7();
  void PrepareChipsetK8();

 protected:
  ProbeEnvironment& env_;

 private:
  enum Part { kNorth, kSouth, kVideo, kParts };

  void Identify();
  void Name(const PciNameDatabase& db);
  void ScanBus(const PciNameDatabase& db);
  void Store(const PciNameDatabase& db, PciAddress address, uint32_t ids);
  std::string VendorFallback(const PciNameDatabase& db, uint32_t vendor) const;

  std::string chipsetName_;
  std::string partName_[kParts];
  int32_t missingNames_ = 0;
  PciChipIds chips_[kParts];
  uint32_t deviceCount_ = 0;
  PciDeviceTable table_;
};

}  // namespace velora
