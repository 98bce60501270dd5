#pragma once
// Read access to the inventory pages, whatever holds them: the window's pages or a run of
// `velora info`.

#include "info/cpu_page_data.h"
#include "info/device_page_data.h"
#include "info/disk_page_data.h"
#include "info/dll_page_data.h"
#include "info/feature_page_data.h"
#include "info/inventory_collector.h"
#include "info/pci_page_data.h"
#include "info/system_page_data.h"

namespace velora {

class InventoryPagesSource {
 public:
  virtual ~InventoryPagesSource() = default;
  virtual SystemPageData ReadSystemPage() const = 0;
  virtual CpuPageData ReadCpuPage() const = 0;
  virtual FeaturePageData ReadFeaturePage() const = 0;
  virtual PciPageData ReadPciPage() const = 0;
  virtual DiskPageData ReadDiskPage() const = 0;
  virtual DevicePageData ReadDevicePage() const = 0;
  virtual DllPageData ReadDllPage() const = 0;
  // What the inventory collector has stored so far; the Ranking page's disk list is its
  // rankingDisks.
  virtual InventoryFields ReadInventory() const = 0;
};

}  // namespace velora
