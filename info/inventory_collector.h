#pragma once
// The inventory collector: seven sections in a fixed order (Disk, BIOS, Computer System,
// Mother, OS, IDE, Video), each switched off by its own settings key and each inside its own
// fault guard. It never writes a page: every result goes out as a whole snapshot through the
// host, which hands it to the pages on their own thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "info/inventory_rules.h"
#include "info/inventory_sources.h"

namespace velora {

// Everything the collector stores, in the forms the pages show. Empty until stored.
struct InventoryFields {
  // Disk
  std::vector<InventoryDiskRow> diskRows;  // rows added to the Disk page's list
  std::vector<std::string> rankingDisks;   // the Ranking page's disk list, in order
  int identifiedDriveCount = -1;           // the Disk page's rows after the section
  // BIOS
  std::string biosDate, biosVersion, biosVendor, biosCaption, smbiosCaption, smbiosVersion;
  // Computer System, Mother, OS
  std::string systemVendor, systemModel;
  std::string motherVersion, motherProduct, motherVendor;
  std::string installDate;
  // IDE, Video (Device page)
  std::string ideController;
  std::string videoVendor, videoProduct, videoChip, driverVersion, driverDate, videoRam;
};

// The settings keys, in section order; they keep the names stored settings files use.
constexpr std::array<const char*, 7> kInventorySectionKeys{
    "DisableWMI_DISK", "DisableWMI_BIOS", "DisableWMI_SYSTEM", "DisableWMI_MOTHER",
    "DisableWMI_OS",   "DisableWMI_IDE",  "DisableWMI_VIDEO"};
constexpr std::array<const char*, 7> kInventorySectionNames{
    "Disk", "BIOS", "Computer System", "Mother", "OS", "IDE", "Video"};

class InventoryHost {
 public:
  virtual ~InventoryHost() = default;
  // Run buttons off, the title's suffix on.
  virtual void BeginCollecting(const std::string& titleSuffix) = 0;
  // The fields as they stand after a section; called from the collector's thread.
  virtual void Publish(const InventoryFields& fields) = 0;
  // Run buttons on, the title's suffix off, the pages to be refreshed at the next switch.
  virtual void EndCollecting() = 0;
};

struct InventoryRequest {
  // A section whose flag is set is skipped, in the order of kInventorySectionKeys.
  std::array<bool, 7> disabled{};
  uint32_t startFlags = 0;
  // The models the disk identification found before the collector started.
  std::vector<std::string> identifiedModels;
  // Asked between sections: a closing window stops the collector early.
  const std::atomic<bool>* stop = nullptr;
};

class Settings;
// The section switches of the settings file: any non-zero value switches a section off.
std::array<bool, 7> ReadInventorySwitches(const Settings& settings);

constexpr const char* kInventoryTitleSuffix = "- Now Inventory Initializing...";

// Runs every section; the finishing steps run on every path. The fields it stored.
InventoryFields CollectInventory(InventorySources& sources, const InventoryRequest& request,
                                 InventoryHost& host,
                                 const std::function<void(const std::string&)>& log);

}  // namespace velora
