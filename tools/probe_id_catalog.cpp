#include "tools/probe_id_catalog.h"

#include <algorithm>

#include "probe/pci/pci_device_table.h"

namespace velora {

std::vector<ProbeIdEntry> ProbeIdCatalog(uint32_t deviceEntries) {
  deviceEntries = std::min(deviceEntries, kPciTableEntries);
  std::vector<ProbeIdEntry> out;
  for (const ProbeIdRow& row : kProbeIdTable) {
    uint32_t count = row.count == kPerDeviceEntry ? deviceEntries : row.count;
    for (uint32_t n = 0; n < count; ++n) out.push_back({row.first + n, row.kind});
  }
  return out;
}

}  // namespace velora
