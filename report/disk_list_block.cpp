#include <cstdlib>

#include "report/report_blocks.h"

namespace velora {

BlockVariants DiskListBlock(const DiskPageData& disk) {
  BlockVariants block;
  block.text = "Type Size    Model                                  ( Buffer Mode )     \r\n";
  block.html =
      "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
      "<tr><td>Type</td><td>Size</td><td>Model</td><td>Buffer</td><td>Mode</td></tr>";
  for (const DiskListRow& row : disk.devices) {
    const std::string type = Printed("%-4s ", row[1].c_str());
    const std::string size = Printed("%5.1fGB ", std::atof(row[2].c_str()));
    const std::string model = Printed("%-40s ", row[0].c_str());
    std::string buffer, mode;
    const int bufferKb = std::atoi(row[3].c_str());
    if (bufferKb > 0) {
      buffer = Printed("%4dKB ", bufferKb);
      if (!row[10].empty()) mode = Printed("%-16s ", row[10].c_str());
    }
    block.text += type + size + model + buffer + mode + "\r\n";
    block.html += "<tr><td>" + HtmlEscaped(type) + "</td><td>" + size + "</td><td>" +
                  HtmlEscaped(model) + "</td><td>" + buffer + "</td><td>" + HtmlEscaped(mode) +
                  "</td></tr>\r\n";
  }
  TrimLineEnds(block.text);
  block.html += "</table>\r\n";
  return block;
}

std::string DiskDetailDump(const DiskPageData& disk) {
  std::string dump;
  for (const DiskListRow& row : disk.devices) {
    if (row[kDiskDataColumn].empty()) continue;
    dump += row[0] + " [ " + row[2] + " GB ] \r\n" + row[kDiskDataColumn] + "\r\n";
  }
  return dump;
}

}  // namespace velora
