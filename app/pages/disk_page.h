#pragma once
// The Disk page: the identified disks with the detail panel of the row last clicked, and the
// mounted file systems with their space. Filled once, when the page is made.

#include "app/pages/inventory_page.h"
#include "info/disk_page_data.h"

namespace velora {

class DiskPage : public InventoryPage {
  Q_OBJECT

 public:
  explicit DiskPage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;
  // Shows data read elsewhere (tests, recorded machines) as the page shows its own.
  void setData(DiskPageData data);

  const DiskPageData& data() const { return data_; }
  // A row outside the list changes nothing.
  void showRow(int row);

 protected:
  PageView currentView() const override;

 private:
  void layOutTables();

  DiskPageData data_;
};

}  // namespace velora
