#include "server/svg_chart.h"

#include <algorithm>
#include <cstdio>

#include "server/html_text.h"

namespace velora::server {

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string Open(int width, int height, const std::string& title) {
  return "<svg class=\"chart\" viewBox=\"0 0 " + std::to_string(width) + " " +
         std::to_string(height) + "\" role=\"img\" xmlns=\"http://www.w3.org/2000/svg\"><title>" +
         HtmlEscaped(title) + "</title>";
}

std::string Label(double x, double y, const char* anchor, const std::string& text,
                  const char* cssClass = "axis") {
  return "<text class=\"" + std::string(cssClass) + "\" x=\"" + Number(x) + "\" y=\"" +
         Number(y) + "\" text-anchor=\"" + anchor + "\">" + HtmlEscaped(text) + "</text>";
}

std::string Rect(const char* cssClass, double x, double y, double width, double height) {
  return std::string("<rect class=\"") + cssClass + "\" x=\"" + Number(x) + "\" y=\"" + Number(y) +
         "\" width=\"" + Number(width) + "\" height=\"" + Number(height) + "\"/>";
}

}  // namespace

std::string DistributionSvg(const std::vector<Bucket>& buckets, int64_t marked,
                            const std::string& title) {
  constexpr double kLeft = 30, kTop = 8, kWidth = 364, kHeight = 120;
  std::string svg = Open(400, 166, title);
  if (buckets.empty()) return svg + "</svg>";
  int64_t most = 1;
  for (const Bucket& b : buckets) most = std::max(most, b.count);
  const double top = static_cast<double>(buckets.back().high);
  const double barWidth = kWidth / static_cast<double>(buckets.size());
  svg += Rect("frame", kLeft, kTop, kWidth, kHeight);
  for (size_t i = 0; i < buckets.size(); ++i) {
    const Bucket& b = buckets[i];
    if (b.count == 0) continue;
    const double height = kHeight * static_cast<double>(b.count) / static_cast<double>(most);
    const bool mine = marked >= b.low && marked < b.high;
    svg += Rect(mine ? "bar mine" : "bar", kLeft + barWidth * static_cast<double>(i) + 0.5,
                kTop + kHeight - height, std::max(barWidth - 1.0, 0.5), height);
  }
  svg += Label(kLeft - 4, kTop + 10, "end", std::to_string(most));
  svg += Label(kLeft - 4, kTop + kHeight, "end", "0");
  svg += Label(kLeft, kTop + kHeight + 16, "start", "0");
  svg += Label(kLeft + kWidth, kTop + kHeight + 16, "end", std::to_string(buckets.back().high));
  if (marked > 0) {
    const double x = kLeft + kWidth * std::min(1.0, static_cast<double>(marked) / top);
    svg += "<line class=\"marker\" x1=\"" + Number(x) + "\" y1=\"" + Number(kTop) + "\" x2=\"" +
           Number(x) + "\" y2=\"" + Number(kTop + kHeight) + "\"/>";
    const bool leftHalf = x < kLeft + kWidth / 2;
    svg += Label(leftHalf ? x + 4 : x - 4, kTop + kHeight + 30, leftHalf ? "start" : "end",
                 std::to_string(marked), "marker-text");
  }
  return svg + "</svg>";
}

std::string VersusSvg(const std::vector<VersusRow>& rows, const std::string& title,
                      const std::string& valueName, const std::string& referenceName) {
  constexpr double kLeft = 40, kBars = 236, kRow = 36, kTop = 44;
  const int height = static_cast<int>(kTop + kRow * static_cast<double>(rows.size()) + 4);
  std::string svg = Open(400, height, title);
  // The legend on two lines: the CPU's name may be long.
  svg += Rect("bar mine", 0, 4, 12, 11) + Label(18, 14, "start", valueName, "legend");
  svg += Rect("bar reference", 0, 22, 12, 11) + Label(18, 32, "start", referenceName, "legend");
  for (size_t i = 0; i < rows.size(); ++i) {
    const VersusRow& row = rows[i];
    const double y = kTop + kRow * static_cast<double>(i);
    const double scale = static_cast<double>(std::max<int64_t>({row.value, row.reference, 1}));
    svg += Label(kLeft - 4, y + 18, "end", row.label);
    svg += Rect("bar mine", kLeft, y + 3, kBars * static_cast<double>(row.value) / scale, 13);
    svg += Rect("bar reference", kLeft, y + 17, kBars * static_cast<double>(row.reference) / scale,
                13);
    svg += Label(kLeft + kBars + 4, y + 14, "start", std::to_string(row.value));
    svg += Label(kLeft + kBars + 4, y + 28, "start", std::to_string(row.reference));
    svg += Label(398, y + 21, "end", PerCentDifference(row.value, row.reference), "difference");
  }
  return svg + "</svg>";
}

std::string PerCentDifference(int64_t value, int64_t reference) {
  if (reference <= 0 || value <= 0) return {};
  const double change = 100.0 * (static_cast<double>(value) / static_cast<double>(reference) - 1.0);
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f %%", change);
  return text;
}

}  // namespace velora::server
