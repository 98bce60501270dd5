#include "info/pci_page_data.h"

#include <cstdio>

#include "probe/probe_id_table.h"

namespace velora {

const std::array<PciColumn, kPciColumnCount> kPciColumns{{
    {"", 0, false},
    {"Bus", 35, true},
    {"Dev", 35, true},
    {"Fnc", 35, true},
    {"Vendor", 55, true},
    {"Device", 55, true},
    {"Rev", 35, true},
    {"SubSystem", 80, true},
    {"Class", 65, true},
    {"Device Type", 160, false},
    {"Vendor Name", 0, false},
    {"Device Name", 0, false},
    {"Sub Vendor Name", 0, false},
}};

namespace {

namespace ids = probe_id;

struct Cell {
  uint32_t base;
  const char* format;  // null for a text cell
};

constexpr Cell kCells[kPciColumnCount] = {
    {ids::kPciBus, "%d"},
    {ids::kPciBus, "%d"},
    {ids::kPciDeviceNumber, "%d"},
    {ids::kPciFunction, "%d"},
    {ids::kPciVendor, "%04Xh"},
    {ids::kPciDevice, "%04Xh"},
    {ids::kPciRevision, "%02Xh"},
    {ids::kPciSubsystem, "%08Xh"},
    {ids::kPciClassCode, "%06Xh"},
    {ids::kPciClassName, nullptr},
    {ids::kPciVendorName, nullptr},
    {ids::kPciDeviceName, nullptr},
    {ids::kPciSubsystemVendorName, nullptr},
};

std::string CellText(ProbeObject& probe, const Cell& cell, uint32_t n) {
  if (cell.format == nullptr) {
    char text[kProbeTextCapacity] = "";
    if (probe.GetString(cell.base + n, text) != 0) return {};
    text[kProbeTextCapacity - 1] = '\0';
    return text;
  }
  int32_t value = -1;
  probe.GetInt(cell.base + n, &value);
  char text[32];
  std::snprintf(text, sizeof text, cell.format, static_cast<unsigned>(value));
  // Bus, device and function print signed, as the numbers they are.
  if (cell.format[1] == 'd') std::snprintf(text, sizeof text, "%d", value);
  return text;
}

}  // namespace

PciPageData ReadPciPageData(ProbeObject& probe) {
  PciPageData page;
  int32_t count = -1;
  if (probe.GetInt(ids::kPciDeviceCount, &count) != 0 || count < 0) count = 0;
  for (int32_t n = 0; n < count && n < 256; ++n) {
    PciRow row;
    for (int c = 0; c < kPciColumnCount; ++c) {
      row[static_cast<size_t>(c)] = CellText(probe, kCells[c], static_cast<uint32_t>(n));
    }
    page.rows.push_back(std::move(row));
  }
  ShowPciRow(page, 0);
  return page;
}

bool ShowPciRow(PciPageData& page, int row) {
  if (row < 0 || row >= static_cast<int>(page.rows.size())) return false;
  const PciRow& r = page.rows[static_cast<size_t>(row)];
  page.detail = {r[kPciBusCell],
                 r[kPciDeviceCell],
                 r[kPciFunctionCell],
                 r[kPciVendorIdCell],
                 r[kPciDeviceIdCell],
                 r[kPciRevisionCell],
                 r[kPciSubsystemCell],
                 r[kPciClassCell],
                 " " + r[kPciTypeCell],
                 " " + r[kPciVendorNameCell],
                 " " + r[kPciDeviceNameCell],
                 " " + r[kPciSubsystemVendorCell]};
  page.shownRow = row;
  return true;
}

PageView PciPageView(const PciPageData& page) {
  PageView v;
  v.name = "PCI";
  const PciDetail& d = page.detail;
  v.groups = {{"PCI Device",
               {{"Bus", d.bus},
                {"Device", d.device},
                {"Function", d.function},
                {"VendorID", d.vendorId},
                {"DeviceID", d.deviceId},
                {"Revision", d.revision},
                {"Sub System ID", d.subsystemId},
                {"ClassID", d.classId},
                {"Device Type", d.deviceType},
                {"Vendor Name", d.vendorName},
                {"Device Name", d.deviceName},
                {"Sub System Vendor", d.subsystemVendor}}}};
  PageTable table{"", {}, {}};
  for (int c = 1; c < kPciColumnCount; ++c) table.columns.push_back(kPciColumns[c].title);
  for (const PciRow& row : page.rows) table.rows.push_back({row.begin() + 1, row.end()});
  v.tables.push_back(std::move(table));
  return v;
}

}  // namespace velora
