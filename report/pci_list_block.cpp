#include "report/report_blocks.h"

namespace velora {

namespace {

constexpr const char* kTable3 =
    "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";

std::string Cell(const std::string& value) { return "<td>" + HtmlEscaped(value) + "</td>"; }

}  // namespace

BlockVariants PciListBlock(const PciPageData& pci) {
  BlockVariants block;
  std::string names = "No DeviceName | SubSystem Vendor\r\n";
  std::string nameRows;
  block.text = "No Bus Dev Fnc VendorDeviceRev SubSystem  Class  DeviceType\r\n";
  std::string registerRows;
  for (size_t n = 0; n < pci.rows.size(); ++n) {
    const PciRow& r = pci.rows[n];
    const int number = static_cast<int>(n);
    const std::string bus = Printed("%3s", r[kPciBusCell].c_str());
    const std::string dev = Printed("%3s", r[kPciDeviceCell].c_str());
    const std::string fnc = Printed("%3s", r[kPciFunctionCell].c_str());
    block.text += Printed("%2d ", number) + bus + ":" + dev + ":" + fnc + " " +
                  r[kPciVendorIdCell] + ":" + r[kPciDeviceIdCell] + "." + r[kPciRevisionCell] +
                  " " + r[kPciSubsystemCell] + " " + r[kPciClassCell] + " " + r[kPciTypeCell] +
                  "\r\n";
    registerRows += "<tr>" + Cell(Printed("%2d", number)) + Cell(bus) + Cell(dev) + Cell(fnc) +
                    Cell(r[kPciVendorIdCell]) + Cell(r[kPciDeviceIdCell]) +
                    Cell(r[kPciRevisionCell]) + Cell(r[kPciSubsystemCell]) +
                    Cell(r[kPciClassCell]) + Cell(r[kPciTypeCell]) + "</tr>\r\n";
    names += Printed("%2d ", number) + r[kPciVendorNameCell] + " " + r[kPciDeviceNameCell];
    if (!r[kPciSubsystemVendorCell].empty()) names += " | " + r[kPciSubsystemVendorCell];
    names += "\r\n";
    nameRows += "<tr>" + Cell(Printed("%2d ", number)) +
                Cell(r[kPciVendorNameCell] + " " + r[kPciDeviceNameCell]) +
                Cell(r[kPciSubsystemVendorCell]) + "</tr>\r\n";
  }
  block.text += "\r\n" + names;
  TrimLineEnds(block.text);
  block.html = std::string(kTable3) +
               "<tr><td>No</td><td>Bus</td><td>Dev</td><td>Fnc</td><td>Vendor</td><td>Device</td>"
               "<td>Rev</td><td>SubSystem</td><td>Class</td><td>DeviceType</td></tr>" +
               registerRows + "</table>\r\n" +
               "<table width=\"100%\" border=\"1\" cellspacing=\"0\">"
               "<tr><td>No</td><td>DeviceName</td><td>SubSystem Vendor</td></tr>" +
               nameRows + "</table>\r\n";
  return block;
}

}  // namespace velora
