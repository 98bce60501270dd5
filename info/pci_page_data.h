#pragma once
// The PCI page as data: one row of 13 cells per function the probe found, and the detail panel
// of the row last shown.

#include <array>
#include <string>
#include <vector>

#include "info/page_view.h"
#include "probe/probe_object.h"

namespace velora {

constexpr int kPciColumnCount = 13;
struct PciColumn {
  const char* title;
  int widthShare;  // of 555; 0 for a hidden column
  bool centred;
};
extern const std::array<PciColumn, kPciColumnCount> kPciColumns;

using PciRow = std::array<std::string, kPciColumnCount>;

// The row's cells by name, in column order; the reports and the machine model read them so.
enum PciCell : size_t {
  kPciHiddenCell,
  kPciBusCell,
  kPciDeviceCell,
  kPciFunctionCell,
  kPciVendorIdCell,
  kPciDeviceIdCell,
  kPciRevisionCell,
  kPciSubsystemCell,
  kPciClassCell,
  kPciTypeCell,
  kPciVendorNameCell,
  kPciDeviceNameCell,
  kPciSubsystemVendorCell,
};

struct PciDetail {
  std::string bus, device, function, vendorId, deviceId, revision, subsystemId, classId;
  std::string deviceType, vendorName, deviceName, subsystemVendor;  // with one leading blank
};

struct PciPageData {
  std::vector<PciRow> rows;
  int shownRow = -1;  // -1 after a click beside the rows
  PciDetail detail;
};

PciPageData ReadPciPageData(ProbeObject& probe);
// Shows row r in the panel; a row outside the list changes nothing. False then.
bool ShowPciRow(PciPageData& page, int row);

PageView PciPageView(const PciPageData& page);

}  // namespace velora
