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
    const std::string bus = Printed("%3s", r[1].c_str());
    const std::string dev = Printed("%3s", r[2].c_str());
    const std::string fnc = Printed("%3s", r[3].c_str());
    block.text += Printed("%2d ", number) + bus + ":" + dev + ":" + fnc + " " + r[4] + ":" + r[5] +
                  "." + r[6] + " " + r[7] + " " + r[8] + " " + r[9] + "\r\n";
    registerRows += "<tr>" + Cell(Printed("%2d", number)) + Cell(bus) + Cell(dev) + Cell(fnc) +
                    Cell(r[4]) + Cell(r[5]) + Cell(r[6]) + Cell(r[7]) + Cell(r[8]) + Cell(r[9]) +
                    "</tr>\r\n";
    names += Printed("%2d ", number) + r[10] + " " + r[11];
    if (!r[12].empty()) names += " | " + r[12];
    names += "\r\n";
    nameRows += "<tr>" + Cell(Printed("%2d ", number)) + Cell(r[10] + " " + r[11]) + Cell(r[12]) +
                "</tr>\r\n";
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
