#include "server/entry_page.h"

#include "server/list_params.h"
#include "server/page_frame.h"
#include "server/svg_chart.h"
#include "server/test_names.h"

namespace velora::server {

namespace {

// Entries shown above and below an entry in its ranking.
constexpr int kNeighbours = 5;
constexpr int kDistributionBuckets = 40;

// The index page of an order at the page holding that place.
std::string RankingPath(PageLanguage language, int order, int64_t place) {
  ListParams params;
  if (order != kOverallOrder) params.testKey = SiteTests()[static_cast<size_t>(order)].key;
  return IndexPath(language) + ListQueryString(params, (place - 1) / kDefaultPageSize + 1);
}

void Around(Html& html, RankingReads& reads, const EntryView& entry, int64_t place,
            int64_t ranked) {
  html.Raw("<section id=\"around\">\n<h2>").Word(Word::kAround).Raw("</h2>\n<p class=\"count\">");
  html.Word(Word::kOverall).Text(": " + Grouped(place) + " / " + Grouped(ranked) + " ");
  html.Raw("(").Link(RankingPath(html.language(), kOverallOrder, place),
                     WordOf(Word::kRankingOf, html.language()));
  html.Raw(")</p>\n<table class=\"ranking\">\n<thead><tr><th class=\"place\">").Word(Word::kPlace);
  html.Raw("</th>").WordCell("th", Word::kName).WordCell("th", Word::kCpu);
  html.ClassCell("th", "score", WordOf(Word::kScore, html.language()));
  html.Raw("</tr></thead>\n<tbody>\n");
  for (const ListedEntry& e : reads.Around(entry, kOverallOrder, kNeighbours)) {
    html.Raw(e.id == entry.id ? "<tr class=\"mine\">" : "<tr>");
    html.ClassCell("td", "place", std::to_string(e.place));
    html.Raw("<td class=\"who\">").Link(EntryPath(html.language(), e.id), e.userName);
    html.Raw("<span class=\"rig\">").Text(e.machine).Raw("</span></td>");
    html.Cell("td", e.cpuName).ClassCell("td", "score", Grouped(e.score)).Raw("</tr>\n");
  }
  html.Raw("</tbody>\n</table>\n</section>\n");
}

void ByTest(Html& html, RankingReads& reads, const EntryView& entry, const PerOrder& counts) {
  html.Raw("<section id=\"by-test\">\n<h2>").Word(Word::kByTest).Raw("</h2>\n<table class=\"by-test\">\n");
  html.Raw("<thead><tr>").WordCell("th", Word::kTest).WordCell("th", Word::kScore);
  html.WordCell("th", Word::kPlace).WordCell("th", Word::kEntries);
  html.Raw("</tr></thead>\n<tbody>\n");
  for (size_t t = 0; t < kSiteTestCount; ++t) {
    const int order = static_cast<int>(t);
    const int64_t place = reads.PlaceOf(entry, order);
    html.Raw("<tr>").Cell("th", SiteTests()[t].key).Cell("td", Grouped(entry.tests[t]));
    if (place > 0) {
      html.Raw("<td>").Link(RankingPath(html.language(), order, place), Grouped(place));
      html.Raw("</td>");
    } else {
      html.WordCell("td", Word::kNoScore);
    }
    html.Cell("td", Grouped(counts[Slot(order)])).Raw("</tr>\n");
  }
  html.Raw("</tbody>\n</table>\n</section>\n");
}

void Charts(Html& html, RankingReads& reads, const EntryView& entry) {
  const PageLanguage language = html.language();
  html.Raw("<section id=\"spread\">\n<h2>").Word(Word::kDistribution).Raw("</h2>\n<figure>");
  html.Raw(DistributionSvg(reads.Distribution(kOverallOrder, kDistributionBuckets), entry.mark,
                           WordOf(Word::kDistribution, language)));
  html.Raw("<figcaption>").Word(Word::kDistributionNote).Raw("</figcaption></figure>\n</section>\n");

  const CpuMedians medians = reads.MediansOfCpu(entry.cpuName);
  std::vector<VersusRow> rows;
  rows.push_back({"Mark", entry.mark, medians.median[Slot(kOverallOrder)]});
  for (size_t t = 0; t < kSiteTestCount; ++t) {
    const int64_t median = medians.median[Slot(static_cast<int>(t))];
    if (entry.tests[t] > 0 || median > 0) rows.push_back({SiteTests()[t].key, entry.tests[t], median});
  }
  html.Raw("<section id=\"versus-cpu\">\n<h2>").Word(Word::kVersusCpu).Raw("</h2>\n<figure>");
  html.Raw(VersusSvg(rows, WordOf(Word::kVersusCpu, language), WordOf(Word::kThisEntry, language),
                     WordOf(Word::kMedian, language) + std::string(" (") + entry.cpuName + ")"));
  html.Raw("<figcaption>").Word(Word::kVersusCpuNote).Text(": " + Grouped(medians.entries));
  html.Raw("</figcaption></figure>\n</section>\n");
}

void MachineRow(Html& html, enum Word label, const std::string& value) {
  html.Raw("<tr>").WordCell("th", label).Cell("td", value).Raw("</tr>\n");
}

std::string WithUnit(const std::string& name, const std::string& amount, const char* unit) {
  if (amount.empty() || amount == "0" || amount == "0.00" || amount == "-1") return name;
  return name + " (" + amount + " " + unit + ")";
}

void Machine(Html& html, const EntryView& e) {
  html.Raw("<section id=\"machine\">\n<h2>").Word(Word::kMachine).Raw("</h2>\n<table class=\"machine\">\n");
  MachineRow(html, Word::kName, e.userName);
  MachineRow(html, Word::kMachineName, e.machine);
  MachineRow(html, Word::kCpu, e.cpuName);
  MachineRow(html, Word::kVendor, e.cpuVendor);
  MachineRow(html, Word::kClock,
             e.Field("ClockUser") + " MHz (" + e.Field("SystemClockUser") + " MHz x " +
                 e.Field("MultiplierUser") + ")");
  MachineRow(html, Word::kMotherBoard, e.Field("MotherUser"));
  MachineRow(html, Word::kChipSet, e.Field("ChipSetUser"));
  MachineRow(html, Word::kVideo, WithUnit(e.Field("VideoUser"), e.Field("VideoSizeUser"), "MB"));
  MachineRow(html, Word::kMemory,
             WithUnit(e.Field("MemoryUser"), e.Field("MemorySizeUser"), "MB"));
  if (e.Field("RaidOn") == "1") {
    MachineRow(html, Word::kRaid, e.Field("RaidController") + " " + e.Field("RaidType"));
  } else {
    MachineRow(html, Word::kDisk, WithUnit(e.Field("DiskName"), e.Field("DiskSize"), "GB"));
  }
  MachineRow(html, Word::kOs, e.Field("OsName"));
  MachineRow(html, Word::kCountry, e.country);
  MachineRow(html, Word::kArea, e.Field("Area"));
  const std::string web = e.Field("Web");
  html.Raw("<tr>").WordCell("th", Word::kWeb).Raw("<td>");
  // Only a web address becomes a link; anything else ("javascript:...") stays text.
  if (web.rfind("http://", 0) == 0 || web.rfind("https://", 0) == 0) {
    html.Raw("<a rel=\"nofollow noopener\" href=\"").Text(web).Raw("\">").Text(web).Raw("</a>");
  } else {
    html.Text(web);
  }
  html.Raw("</td></tr>\n");
  html.Raw("<tr>").WordCell("th", Word::kComment);
  html.Raw("<td class=\"comment\">").Text(e.comment).Raw("</td></tr>\n");
  MachineRow(html, Word::kRegistered, UtcTime(e.created));
  html.Raw("</table>\n</section>\n");
}

void SubTests(Html& html, const EntryView& e) {
  html.Raw("<section id=\"scores\">\n<h2>").Word(Word::kScores).Raw("</h2>\n<table class=\"scores\">\n");
  html.Raw("<thead><tr>").WordCell("th", Word::kSubTest).WordCell("th", Word::kScore);
  html.WordCell("th", Word::kValue).Raw("</tr></thead>\n");
  html.Raw("<tbody><tr class=\"mark\"><th>Mark</th>").Cell("td", Grouped(e.mark));
  html.Raw("<td></td></tr></tbody>\n");
  for (size_t t = 0; t < kSiteTestCount; ++t) {
    const std::string key = SiteTests()[t].key;
    html.Raw("<tbody><tr class=\"test\"><th>").Text(key).Raw("</th>").Cell("td", Grouped(e.tests[t]));
    html.Raw("<td>");
    if (SiteTests()[t].subTests.empty()) html.Word(Word::kNoSubTests);
    html.Raw("</td></tr>\n");
    for (int n = 1; n <= static_cast<int>(SiteTests()[t].subTests.size()); ++n) {
      html.Raw("<tr>").Cell("th", SubTestName(t, n));
      html.Cell("td", e.Field(key + std::to_string(n)));
      html.Cell("td", e.Field(key + std::to_string(n) + "V")).Raw("</tr>\n");
    }
    html.Raw("</tbody>\n");
  }
  html.Raw("</table>\n</section>\n");
}

void CompareForm(Html& html, const EntryView& e) {
  html.Raw("<section id=\"compare\">\n<h2>").Word(Word::kCompareWith).Raw("</h2>\n<form method=\"get\" action=\"");
  html.Text(ComparePath(html.language(), {})).Raw("\">\n<input type=\"hidden\" name=\"id\" value=\"");
  html.Raw(std::to_string(e.id)).Raw("\">\n<label>").Word(Word::kEntryNumber);
  html.Raw(" <input type=\"text\" name=\"id\" inputmode=\"numeric\" pattern=\"[0-9]+\" size=\"8\">");
  html.Raw("</label>\n<button type=\"submit\">").Word(Word::kCompare).Raw("</button>\n</form>\n");
  html.Raw("</section>\n");
}

}  // namespace

std::optional<std::string> EntryPage(RankingReads& reads, int64_t id, PageLanguage language) {
  const std::optional<EntryView> entry = reads.Find(id);
  if (!entry) return std::nullopt;
  Html html(language);
  const std::string title = std::string(WordOf(Word::kEntryNumber, language)) + " " +
                            std::to_string(entry->id) + ": " + entry->userName + " / " +
                            entry->machine;
  BeginPage(html, title, EntryPath(OtherLanguage(language), entry->id));
  const PerOrder counts = reads.RankedCounts();
  const int64_t place = reads.PlaceOf(*entry, kOverallOrder);
  if (place > 0) Around(html, reads, *entry, place, counts[Slot(kOverallOrder)]);
  ByTest(html, reads, *entry, counts);
  Charts(html, reads, *entry);
  SubTests(html, *entry);
  Machine(html, *entry);
  CompareForm(html, *entry);
  EndPage(html);
  return html.str();
}

std::string MissingPage(PageLanguage language, Word why) {
  Html html(language);
  BeginPage(html, WordOf(Word::kTitle, language), IndexPath(OtherLanguage(language)));
  html.Raw("<section>\n<p>").Word(why).Raw("</p>\n<p>");
  html.Link(IndexPath(language), WordOf(Word::kBackToRanking, language)).Raw("</p>\n</section>\n");
  EndPage(html);
  return html.str();
}

}  // namespace velora::server
