#pragma once
// The window's eleven pages: made in creation order, each reading the ones made before it,
// deleted in deletion order, and read by everyone else through the pages model.

#include <array>
#include <memory>

#include "app/pages/page.h"
#include "core/main_window_model.h"

namespace velora {

class PageSet : public PagesModel {
 public:
  // The Mark page runs its tests on engine, which must outlive the pages.
  explicit PageSet(BenchEngine& engine) : engine_(engine) {}
  ~PageSet() override { Clear(); }
  PageSet(const PageSet&) = delete;
  PageSet& operator=(const PageSet&) = delete;

  // Makes every page, then calls show(page) and the page's initialise in creation order.
  template <typename Show>
  void Create(const PageContext& context, Show show) {
    for (int index : kPageCreationOrder) pages_[Slot(index)] = MakePageOf(index);
    PageContext own = context;
    own.engine = &engine_;
    own.pages = this;
    if (own.machine == nullptr) own.machine = &here_;
    for (int index : kPageCreationOrder) {
      show(*page(index));
      page(index)->initialise(own);
    }
  }
  void Clear();

  Page* page(int tabIndex) const;
  // A run in progress stops after its current sub-test.
  void StopRuns();

  MarkPageData ReadMarkPage() const override;
  SystemPageData ReadSystemPage() const override;
  CpuPageData ReadCpuPage() const override;
  FeaturePageData ReadFeaturePage() const override;
  PciPageData ReadPciPage() const override;
  DiskPageData ReadDiskPage() const override;
  DevicePageData ReadDevicePage() const override;
  DllPageData ReadDllPage() const override;
  InventoryFields ReadInventory() const override { return inventory_; }

  // The collector's latest fields into the System and Device pages (GUI thread).
  void StoreInventory(const InventoryFields& fields);

 private:
  static size_t Slot(int index) { return static_cast<size_t>(index); }
  std::unique_ptr<Page> MakePageOf(int index);

  BenchEngine& engine_;
  // The pages' machine when the window gives none; it outlives the pages.
  MachineAccess here_;
  std::array<std::unique_ptr<Page>, kPageCount> pages_;
  InventoryFields inventory_;
};

}  // namespace velora
