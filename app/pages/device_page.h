#pragma once
// The Device page: chipset and video from the probe, the collector's video fields, the display
// mode (following display changes), font smoothing, the graphics interfaces and the network
// adapters, the clicked one in the details.

#include "app/pages/inventory_page.h"
#include "info/device_page_data.h"
#include "platform/display_facts.h"

class QScreen;

namespace velora {

class DevicePage : public InventoryPage {
  Q_OBJECT

 public:
  explicit DevicePage(QWidget* parent = nullptr);
  void initialise(const PageContext& context) override;

  const DevicePageData& data() const { return data_; }
  // Stores the collector's fields; they show at the next refresh.
  void applyInventory(const InventoryFields& fields);
  // A row outside the list changes nothing.
  void showAdapter(int row);
  // Takes the display mode again and shows it.
  void refreshDisplayMode();
  // The OpenGL renderer the page found, for the collector's video product.
  const std::string& openGlRenderer() const { return data_.openGlRenderer; }

 protected:
  PageView currentView() const override;

 private:
  void follow(QScreen* screen);
  void sizeAdapterColumns();

  DevicePageData data_;
  QScreen* followed_ = nullptr;
  // A recording: what only this desktop could answer reads "not recorded".
  bool recorded_ = false;
};

}  // namespace velora
