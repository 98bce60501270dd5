#pragma once
// The Ranking page's view of the Device and Disk pages and of the inventory collector, read
// from the pages model whenever the form asks.

#include "info/inventory_pages.h"
#include "ranking/machine_facts.h"

namespace velora {

class PagesInventory : public RankingInventorySource {
 public:
  explicit PagesInventory(const InventoryPagesSource& pages) : pages_(pages) {}

  DeviceFacts ReadDeviceFacts() const override;
  std::vector<std::string> ReadDiskModels() const override;
  std::vector<std::string> ReadCollectorDiskCaptions() const override;
  std::string ReadCollectorVideoMemory() const override;

 private:
  const InventoryPagesSource& pages_;
};

}  // namespace velora
