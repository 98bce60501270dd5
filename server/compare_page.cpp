#include "server/compare_page.h"

#include <algorithm>
#include <charconv>

#include "server/page_frame.h"
#include "server/svg_chart.h"
#include "server/test_names.h"

namespace velora::server {

namespace {

// One row: a score or value per entry, and under every one but the first its difference to
// the first. Values that are not numbers are shown as they are, without a difference.
void ValuesRow(Html& html, const char* rowClass, const std::string& label,
               const std::vector<std::string>& values) {
  html.Raw("<tr class=\"").Raw(rowClass).Raw("\">").Cell("th", label);
  int64_t first = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    int64_t number = 0;
    const std::string& text = values[i];
    const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const bool isNumber = !text.empty() && error == std::errc() && at == text.data() + text.size();
    if (i == 0) first = isNumber ? number : 0;
    html.Raw("<td>").Text(isNumber ? Grouped(number) : text);
    const std::string difference = isNumber && i > 0 ? PerCentDifference(number, first) : "";
    if (!difference.empty()) {
      html.Raw(number >= first ? "<span class=\"diff up\">" : "<span class=\"diff down\">");
      html.Text(difference).Raw("</span>");
    }
    html.Raw("</td>");
  }
  html.Raw("</tr>\n");
}

void MachineRows(Html& html, const std::vector<EntryView>& entries) {
  const auto row = [&](Word label, const auto& valueOf) {
    html.Raw("<tr>").WordCell("th", label);
    for (const EntryView& e : entries) html.Cell("td", valueOf(e));
    html.Raw("</tr>\n");
  };
  row(Word::kCpu, [](const EntryView& e) { return e.cpuName; });
  row(Word::kClock, [](const EntryView& e) { return e.Field("ClockUser") + " MHz"; });
  row(Word::kMemory, [](const EntryView& e) { return e.Field("MemoryUser"); });
  row(Word::kVideo, [](const EntryView& e) { return e.Field("VideoUser"); });
  row(Word::kDisk, [](const EntryView& e) { return e.Field("DiskName"); });
  row(Word::kOs, [](const EntryView& e) { return e.Field("OsName"); });
  row(Word::kRegistered, [](const EntryView& e) { return UtcDate(e.created); });
}

}  // namespace

std::optional<std::vector<int64_t>> ReadComparedIds(const std::vector<std::string>& texts) {
  std::vector<int64_t> ids;
  for (const std::string& text : texts) {
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = std::min(text.find(',', start), text.size());
      const std::string piece = text.substr(start, end - start);
      start = end + 1;
      if (piece.empty()) continue;
      int64_t id = 0;
      const auto [at, error] = std::from_chars(piece.data(), piece.data() + piece.size(), id);
      if (error != std::errc() || at != piece.data() + piece.size() || id < 1) return std::nullopt;
      if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
      if (ids.size() > kMaxCompared) return std::nullopt;
    }
  }
  if (ids.size() < kMinCompared) return std::nullopt;
  return ids;
}

std::optional<std::string> ComparePage(RankingReads& reads, const std::vector<int64_t>& ids,
                                       PageLanguage language) {
  std::vector<EntryView> entries;
  for (const int64_t id : ids) {
    std::optional<EntryView> entry = reads.Find(id);
    if (!entry) return std::nullopt;
    entries.push_back(std::move(*entry));
  }
  Html html(language);
  BeginPage(html, WordOf(Word::kCompare, language), ComparePath(OtherLanguage(language), ids));
  html.Raw("<section>\n<table class=\"compare\">\n<thead><tr><th></th>");
  for (const EntryView& e : entries) {
    html.Raw("<th>").Link(EntryPath(language, e.id), "#" + std::to_string(e.id) + " " + e.userName);
    html.Raw("<span class=\"rig\">").Text(e.machine).Raw("</span></th>");
  }
  html.Raw("</tr></thead>\n<tbody class=\"facts\">\n");
  MachineRows(html, entries);
  html.Raw("</tbody>\n<tbody>\n");
  std::vector<std::string> marks;
  for (const EntryView& e : entries) marks.push_back(std::to_string(e.mark));
  ValuesRow(html, "mark", "Mark", marks);
  html.Raw("</tbody>\n");
  for (size_t t = 0; t < kSiteTestCount; ++t) {
    const std::string key = SiteTests()[t].key;
    std::vector<std::string> scores;
    for (const EntryView& e : entries) scores.push_back(std::to_string(e.tests[t]));
    html.Raw("<tbody>\n");
    ValuesRow(html, "test", key, scores);
    for (int n = 1; n <= static_cast<int>(SiteTests()[t].subTests.size()); ++n) {
      std::vector<std::string> sub;
      for (const EntryView& e : entries) sub.push_back(e.Field(key + std::to_string(n)));
      ValuesRow(html, "sub", SubTestName(t, n), sub);
    }
    html.Raw("</tbody>\n");
  }
  html.Raw("</table>\n<p class=\"note\">").Word(Word::kDifference).Raw(": ");
  html.Text("#" + std::to_string(entries.front().id)).Raw(" = 100 %</p>\n</section>\n");
  EndPage(html);
  return html.str();
}

}  // namespace velora::server
