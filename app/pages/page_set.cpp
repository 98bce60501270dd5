#include "app/pages/page_set.h"

#include "app/pages/cpu_page.h"
#include "app/pages/device_page.h"
#include "app/pages/disk_page.h"
#include "app/pages/dll_page.h"
#include "app/pages/feature_page.h"
#include "app/pages/mark_page.h"
#include "app/pages/page_factory.h"
#include "app/pages/pci_page.h"
#include "app/pages/system_page.h"

namespace velora {

std::unique_ptr<Page> PageSet::MakePageOf(int index) { return MakePage(index, engine_); }

void PageSet::Clear() {
  for (int index : kPageDeletionOrder) pages_[Slot(index)].reset();
}

Page* PageSet::page(int tabIndex) const {
  if (tabIndex < 0 || tabIndex >= kPageCount) return nullptr;
  return pages_[Slot(tabIndex)].get();
}

void PageSet::StopRuns() {
  if (auto* mark = dynamic_cast<MarkPage*>(page(0))) mark->stopForClose();
}

MarkPageData PageSet::ReadMarkPage() const {
  if (auto* mark = dynamic_cast<MarkPage*>(page(0))) return mark->data();
  return {};
}

namespace {

// The data of the page at a tab index, or empty data when that page is not (yet) there.
template <typename PageType, typename Data>
Data DataOf(const PageSet& pages, int tabIndex) {
  if (auto* page = dynamic_cast<PageType*>(pages.page(tabIndex))) return page->data();
  return Data{};
}

}  // namespace

SystemPageData PageSet::ReadSystemPage() const {
  return DataOf<SystemPage, SystemPageData>(*this, 2);
}
CpuPageData PageSet::ReadCpuPage() const { return DataOf<CpuPage, CpuPageData>(*this, 3); }
FeaturePageData PageSet::ReadFeaturePage() const {
  return DataOf<FeaturePage, FeaturePageData>(*this, 4);
}
PciPageData PageSet::ReadPciPage() const { return DataOf<PciPage, PciPageData>(*this, 6); }
DiskPageData PageSet::ReadDiskPage() const { return DataOf<DiskPage, DiskPageData>(*this, 7); }
DevicePageData PageSet::ReadDevicePage() const {
  return DataOf<DevicePage, DevicePageData>(*this, 5);
}
DllPageData PageSet::ReadDllPage() const { return DataOf<DllPage, DllPageData>(*this, 8); }

void PageSet::StoreInventory(const InventoryFields& fields) {
  inventory_ = fields;
  if (auto* system = dynamic_cast<SystemPage*>(page(2))) system->applyInventory(fields);
  if (auto* device = dynamic_cast<DevicePage*>(page(5))) device->applyInventory(fields);
}

}  // namespace velora
