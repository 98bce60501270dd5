#include "ranking/pages_inventory.h"

namespace velora {

DeviceFacts PagesInventory::ReadDeviceFacts() const {
  const DevicePageData device = pages_.ReadDevicePage();
  DeviceFacts facts;
  facts.chipSet = device.chipset;
  facts.north = device.north;
  facts.south = device.south;
  facts.ideController = device.ideController;
  facts.video = device.video;
  facts.directX = device.directX;
  facts.videoProduct = device.videoProduct;
  facts.videoVendor = device.videoVendor;
  facts.videoChip = device.videoChip;
  facts.videoRam = device.videoRam;
  facts.videoDriverVersion = device.driverVersion;
  facts.videoDriverDate = device.driverDate;
  facts.northVid = device.northVid;
  facts.northDid = device.northDid;
  facts.northRid = device.northRid;
  facts.southVid = device.southVid;
  facts.southDid = device.southDid;
  facts.southRid = device.southRid;
  facts.videoVid = device.videoVid;
  facts.videoDid = device.videoDid;
  facts.videoRid = device.videoRid;
  return facts;
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
