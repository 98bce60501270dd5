#pragma once
// The Device page as data: chipset and video names from the probe, the collector's video and
// storage-controller fields, the display mode, font smoothing, the graphics interfaces, and the
// network adapters with the details of the chosen one.

#include <string>
#include <vector>

#include "info/inventory_collector.h"
#include "info/network_adapters.h"
#include "info/page_view.h"
#include "probe/probe_object.h"

namespace velora {

struct DevicePageData {
  std::string chipset, north, south, ideController;
  std::string video, videoVendor, videoChip, videoProduct, videoRam, driverVersion, driverDate;
  std::string displayMode, fontSmoothing, directX;
  // Vendor, device and revision of the north bridge, south bridge and video device as decimal
  // texts; empty without a probe. Not shown; the ranking registration carries them.
  std::string northVid, northDid, northRid, southVid, southDid, southRid, videoVid, videoDid,
      videoRid;
  // Beside the DirectX line: what this platform draws with.
  std::string openGlVersion, openGlRenderer, vulkanVersion;
  std::vector<NetworkAdapterRow> adapters;
  int shownAdapter = -1;
  // Adapter Name, MAC, IP address, mask, gateway, DHCP server, IPv6, link, MTU of the shown row.
  std::array<std::string, 9> adapterDetail;
};

// Chipset, North, South, Video, their identifiers and DirectX from the probe (null: all empty
// but the leading blanks, DirectX "Not installed").
void FillDevicePageFromProbe(DevicePageData& page, ProbeObject* probe);

// The DirectX text when it reads as a number above 0, else "Not installed".
std::string DirectXField(const std::string& probeText);

// "%d x %d %dbit %dHz", or without the rate when it is below 2 (the default rate).
std::string DisplayModeText(int width, int height, int bitsPerPixel, int refreshRate);

// The collector's IDE and video fields; fields it has not stored stay as they are.
void ApplyInventoryToDevicePage(DevicePageData& page, const InventoryFields& fields);

// Shows the adapter row's columns 1 to 9 in the details; false (nothing changed) for a row
// outside the list.
bool ShowAdapterRow(DevicePageData& page, int row);

// The adapters, and the first of them in the details.
void SetAdapters(DevicePageData& page, std::vector<NetworkAdapterRow> rows);

// The page's captions are the same in both languages.
PageView DevicePageView(const DevicePageData& page, int language);

// The network list's column headings, in order.
extern const std::array<const char*, 10> kAdapterColumns;

}  // namespace velora
