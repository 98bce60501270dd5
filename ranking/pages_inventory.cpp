#include "ranking/pages_inventory.h"

namespace velora {

DeviceFacts PagesInventory::ReadDeviceFacts() const {
  return DeviceFactsOf(pages_.ReadDevicePage());
}

std::vector<std::string> PagesInventory::ReadDiskModels() const {
  std::vector<std::string> models;
  for (const DiskListRow& row : pages_.ReadDiskPage().devices) models.push_back(row[0]);
  return models;
}

std::vector<std::string> PagesInventory::ReadCollectorDiskCaptions() const {
  return pages_.ReadInventory().rankingDisks;
}

std::string PagesInventory::ReadCollectorVideoMemory() const {
  return pages_.ReadInventory().videoRam;
}

}  // namespace velora
