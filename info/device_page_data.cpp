#include "info/device_page_data.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace velora {

namespace {

// The probe's chipset block answers these at fixed offsets.
constexpr uint32_t kChipsetNameId = 0x2001;
constexpr uint32_t kNorthNameId = 0x2003;
constexpr uint32_t kSouthNameId = 0x2007;
constexpr uint32_t kVideoNameId = 0x200B;
constexpr uint32_t kDirectXId = 0x0300;
// Vendor id, device id and revision follow each other from these.
constexpr uint32_t kNorthIdsId = 0x2020;
constexpr uint32_t kSouthIdsId = 0x2030;
constexpr uint32_t kVideoIdsId = 0x2040;
constexpr size_t kProbeText = 1024;

std::string ProbeText(ProbeObject* probe, uint32_t id) {
  char text[kProbeText] = "";
  if (probe != nullptr && probe->GetString(id, text) != 0) text[0] = '\0';
  return text;
}

std::string ProbeDecimal(ProbeObject* probe, uint32_t id) {
  int32_t value = 0;
  if (probe == nullptr || probe->GetInt(id, &value) != 0) return {};
  return std::to_string(value);
}

void Store(std::string& field, const std::string& value) {
  if (!value.empty()) field = value;
}

}  // namespace

const std::array<const char*, 10> kAdapterColumns{
    "Type",        "Adapter Name", "MAC Address", "IP Address", "Subnet Mask", "Default Gateway",
    "DHCP Server", "IPv6 Address", "Link",        "MTU"};

std::string DirectXField(const std::string& probeText) {
  return std::atof(probeText.c_str()) > 0 ? probeText : "Not installed";
}

std::string DisplayModeText(int width, int height, int bitsPerPixel, int refreshRate) {
  char text[96];
  if (refreshRate < 2) {
    std::snprintf(text, sizeof text, "%d x %d %dbit", width, height, bitsPerPixel);
  } else {
    std::snprintf(text, sizeof text, "%d x %d %dbit %dHz", width, height, bitsPerPixel,
                  refreshRate);
  }
  return text;
}

void FillDevicePageFromProbe(DevicePageData& page, ProbeObject* probe) {
  page.chipset = " " + ProbeText(probe, kChipsetNameId);
  page.north = " " + ProbeText(probe, kNorthNameId);
  page.south = " " + ProbeText(probe, kSouthNameId);
  page.video = " " + ProbeText(probe, kVideoNameId);
  page.directX = DirectXField(ProbeText(probe, kDirectXId));
  struct Ids {
    uint32_t first;
    std::string *vid, *did, *rid;
  };
  for (const Ids& ids : {Ids{kNorthIdsId, &page.northVid, &page.northDid, &page.northRid},
                         Ids{kSouthIdsId, &page.southVid, &page.southDid, &page.southRid},
                         Ids{kVideoIdsId, &page.videoVid, &page.videoDid, &page.videoRid}}) {
    *ids.vid = ProbeDecimal(probe, ids.first);
    *ids.did = ProbeDecimal(probe, ids.first + 1);
    *ids.rid = ProbeDecimal(probe, ids.first + 2);
  }
}

void ApplyInventoryToDevicePage(DevicePageData& page, const InventoryFields& f) {
  Store(page.ideController, f.ideController);
  Store(page.videoVendor, f.videoVendor);
  Store(page.videoChip, f.videoChip);
  Store(page.videoProduct, f.videoProduct);
  Store(page.videoRam, f.videoRam);
  Store(page.driverVersion, f.driverVersion);
  Store(page.driverDate, f.driverDate);
}

bool ShowAdapterRow(DevicePageData& page, int row) {
  if (row < 0 || row >= static_cast<int>(page.adapters.size())) return false;
  const NetworkAdapterRow& r = page.adapters[static_cast<size_t>(row)];
  for (size_t i = 0; i < page.adapterDetail.size(); ++i) page.adapterDetail[i] = r[i + 1];
  page.shownAdapter = row;
  return true;
}

void SetAdapters(DevicePageData& page, std::vector<NetworkAdapterRow> rows) {
  page.adapters = std::move(rows);
  page.shownAdapter = -1;
  page.adapterDetail = {};
  ShowAdapterRow(page, 0);
}

PageView DevicePageView(const DevicePageData& p, int) {
  PageView v;
  v.name = "Device";
  v.groups = {
      {"Chipset",
       {{"Chipset", p.chipset},
        {"North", p.north},
        {"South", p.south},
        {"IDE Controller", p.ideController}}},
      {"Video",
       {{"Video", p.video},
        {"Vendor", p.videoVendor},
        {"Chip", p.videoChip},
        {"Product", p.videoProduct},
        {"Video RAM (MB)", p.videoRam},
        {"Driver Version", p.driverVersion},
        {"Driver Date", p.driverDate}}},
      {"Display",
       {{"Display Mode", p.displayMode},
        {"Font Smoothing", p.fontSmoothing},
        {"DirectX", p.directX},
        {"OpenGL", p.openGlVersion},
        {"OpenGL Renderer", p.openGlRenderer},
        {"Vulkan", p.vulkanVersion}}},
      {"Network",
       {{"Adapter Name", p.adapterDetail[0]},
        {"MAC Address", p.adapterDetail[1]},
        {"IP Address", p.adapterDetail[2]},
        {"Subnet Mask", p.adapterDetail[3]},
        {"Default Gateway", p.adapterDetail[4]},
        {"DHCP Server", p.adapterDetail[5]},
        {"IPv6 Address", p.adapterDetail[6]},
        {"Link", p.adapterDetail[7]},
        {"MTU", p.adapterDetail[8]}}},
  };
  PageTable table;
  table.title = "Network Adapters";
  table.columns.assign(kAdapterColumns.begin(), kAdapterColumns.end());
  for (const NetworkAdapterRow& row : p.adapters) table.rows.emplace_back(row.begin(), row.end());
  v.tables.push_back(table);
  return v;
}

}  // namespace velora
