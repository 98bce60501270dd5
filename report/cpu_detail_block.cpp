#include <array>
#include <cstdlib>
#include <utility>

#include "report/report_blocks.h"

namespace velora {

namespace {

double Number(const std::string& text) { return std::atof(text.c_str()); }

// The feature tokens in report order, by their index among the CPU page's labels.
constexpr std::array<std::pair<int, const char*>, 11> kFeatureTokens{{
    {0, " MMX"},
    {2, " SSE"},
    {3, " SSE2"},
    {4, " SSE3"},
    {1, " MMX+"},
    {5, " 3DNow!"},
    {6, " 3DNow!+"},
    {7, " HTT"},
    {9, " IA-64"},
    {8, " AMD64"},
    {10, " EM64T"},
}};

struct ClockRow {
  const char* text;
  const char* html;
  const std::string CpuPageData::*current;
  const std::string CpuPageData::*original;
};

constexpr std::array<ClockRow, 3> kClockRows{{
    {"          Clock : ", "<tr><td align=\"right\">Clock</td><td>",
     &CpuPageData::internalClockCurrent, &CpuPageData::internalClockOriginal},
    {"   System Clock : ", "<tr><td align=\"right\">System Clock</td><td>",
     &CpuPageData::systemClockCurrent, &CpuPageData::systemClockOriginal},
    {"     System Bus : ", "<tr><td align=\"right\">System Bus</td><td>",
     &CpuPageData::systemBusCurrent, &CpuPageData::systemBusOriginal},
}};

}  // namespace

BlockVariants CpuDetailBlock(const CpuPageData& cpu) {
  BlockVariants block;
  block.html = "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";
  const std::string nameLine =
      cpu.codeName.empty() ? cpu.cpuName : cpu.cpuName + " (" + cpu.codeName + ")";
  const std::pair<const char*, const std::string*> rows[] = {
      {"       CPU Name", &cpu.cpuName},    {"  Vendor String", &cpu.vendorString},
      {"    Name String", &cpu.nameString}, {"       Platform", &cpu.platform},
      {"       CPU Type", &cpu.cpuType},    {"Number(Logical)", &cpu.number},
      {"Hyper-Threading", &cpu.htt},        {"         Family", &cpu.family},
      {"       FamilyEx", &cpu.familyEx},   {"     Generation", &cpu.generation},
      {"          Model", &cpu.model},      {"       Stepping", &cpu.stepping},
      {"        BrandID", &cpu.brandId},    {"           APIC", &cpu.apic},
  };
  for (const auto& [label, field] : rows) {
    if (field->empty()) continue;
    const std::string& value = field == &cpu.cpuName ? nameLine : *field;
    block.text += std::string(label) + " : " + value + "\r\n";
    block.html +=
        "<tr><td align=\"right\">" + std::string(label) + "</td><td>" + HtmlEscaped(value) +
        "</td></tr>\r\n";
  }

  block.text += "        Feature :";
  block.html += "<tr><td align=\"right\">Feature</td><td>";
  std::string tokens;
  for (const auto& [label, token] : kFeatureTokens) {
    if (cpu.labels[static_cast<size_t>(label)]) tokens += token;
    // The extensions of later processors follow the SSE line they extend.
    if (label == static_cast<int>(kCpuLabelSse3)) {
      for (const std::string& extension : cpu.extensions) tokens += " " + extension;
    }
  }
  if (cpu.labels[kCpuLabelNx]) tokens += cpu.vendorString == "GenuineIntel" ? " XD" : " NX";
  block.text += tokens + "\r\n";
  block.html += tokens +
                "</td></tr>\r\n<tr><td colspan=\"2\"><table width=\"100%\" border=\"1\" "
                "cellspacing=\"0\" cellpadding=\"3\">";

  const bool original = Number(cpu.internalClockOriginal) > 0;
  if (original) {
    block.text += "\r\n                    Current        Original\r\n";
    block.html += "<tr><td> </td><td>Current</td><td>Original</td></tr>\r\n";
  }
  for (const ClockRow& row : kClockRows) {
    const double current = Number(cpu.*row.current);
    if (current <= 0) continue;
    const std::string value = Printed("%7.2f", current);
    block.text += row.text + value + " MHz";
    block.html += row.html + value + " MHz</td>";
    const double before = Number(cpu.*row.original);
    if (before > 0) {
      const std::string was = Printed("%7.2f", before);
      block.text += "     " + was + " MHz";
      block.html += "<td>" + was + " MHz</td>";
    }
    block.text += "\r\n";
    block.html += "</tr>\r\n";
  }
  block.html += "</table></td></tr>";

  const double multiplier = Number(cpu.multiplierCurrent);
  if (multiplier > 0) {
    block.text += "     Multiplier : " + Printed("%7.2f", multiplier);
    const double was = Number(cpu.multiplierOriginal);
    if (was > 0) block.text += "         " + Printed("%7.2f", was);
    block.text += "\r\n";
  }
  if (!cpu.busRateName.empty()) block.text += "      Data Rate :    " + cpu.busRateName + "\r\n";
  if (original)
    block.text += "     Over Clock : " + Printed("%7.2f %%", Number(cpu.overClock)) + "\r\n";

  // The cache rows, in the text and as rows of the HTML table alike.
  std::string cacheHtml;
  auto cacheRow = [&](const std::string& textLabel, const std::string& label, int size,
                      const std::string& unit, const std::string& after) {
    block.text += textLabel + " : " + Printed("%4d", size) + " " + unit + after + "\r\n";
    cacheHtml += "<tr><td align=\"right\">" + label + "</td><td>" + std::to_string(size) + " " +
                 unit + after + "</td></tr>\r\n";
  };
  if (const int size = std::atoi(cpu.firstCacheValue.c_str()); size > 0) {
    block.text += "\r\n";
    cacheRow("     " + cpu.firstCacheLabel, cpu.firstCacheLabel, size, cpu.firstCacheUnit, "");
  }
  if (const int size = std::atoi(cpu.l1Data.c_str()); size > 0)
    cacheRow("     L1 D-Cache", "L1 D-Cache", size, "KB", "");
  if (const int size = std::atoi(cpu.l2.c_str()); size > 0) {
    cacheRow("       L2 Cache", "L2 Cache", size, "KB",
             " [" + cpu.l2Speed + ":" + cpu.l2Clock + " MHz]");
  }
  if (const int size = std::atoi(cpu.l3.c_str()); size > 0)
    cacheRow("       L3 Cache", "L3 Cache", size, "KB", "");

  TrimLineEnds(block.text);
  block.html += cacheHtml + "</table>";
  return block;
}

}  // namespace velora
