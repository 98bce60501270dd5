#pragma once
// The System page: the operating system, names, folders, memory, addresses and times. The
// memory and times follow a 100 ms timer that runs only while the page is shown.

#include <QTimer>

#include "app/pages/inventory_page.h"
#include "info/inventory_collector.h"
#include "info/system_page_data.h"

namespace velora {

class SystemPage : public InventoryPage {
  Q_OBJECT

 public:
  explicit SystemPage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;

  const SystemPageData& data() const { return data_; }
  // Stores the collector's fields; they show at the next refresh.
  void applyInventory(const InventoryFields& fields);
  bool timerRunning() const { return timer_.isActive(); }
  // One timer tick: the live fields, then the controls.
  void tick();

 protected:
  PageView currentView() const override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  SystemPageData data_;
  const MachineAccess* machine_ = nullptr;
  bool recorded_ = false;
  QTimer timer_;
};

}  // namespace velora
