#include "server/entry_page.h"

#include <ctime>

#include "server/body_keys.h"
#include "server/html_text.h"
#include "server/page_words.h"

namespace velora::server {

namespace {

// Rows of the overall ranking shown before the entry's own row is added below them.
constexpr int64_t kOverallRows = 100;

class Html {
 public:
  explicit Html(PageLanguage language) : language_(language) {}
  Html& Raw(const std::string& markup) {
    out_ += markup;
    return *this;
  }
  Html& Text(const std::string& text) {
    out_ += HtmlEscaped(text);
    return *this;
  }
  Html& Word(Word word) { return Text(WordOf(word, language_)); }
  Html& Cell(const char* tag, const std::string& text) {
    return Raw("<").Raw(tag).Raw(">").Text(text).Raw("</").Raw(tag).Raw(">");
  }
  Html& WordCell(const char* tag, enum Word word) { return Cell(tag, WordOf(word, language_)); }
  const std::string& str() const { return out_; }

 private:
  PageLanguage language_;
  std::string out_;
};

std::string Value(const StoredEntry& entry, const std::string& key) {
  for (const FormPair& pair : entry.pairs) {
    if (pair.key == key) return pair.value;
  }
  return {};
}

std::string PagePath(PageLanguage language, int64_t id) {
  return std::string(language == PageLanguage::kEnglish ? "/Velora/09en" : "/Velora/09") +
         "/ranking.php?ID=" + std::to_string(id);
}

std::string UtcTime(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
  return text;
}

void Head(Html& html, PageLanguage language, const std::string& title) {
  html.Raw("<!DOCTYPE html>\n<html lang=\"").Raw(LanguageTag(language)).Raw("\">\n<head>\n");
  html.Raw("<meta charset=\"utf-8\">\n<title>").Text(title).Raw("</title>\n");
  html.Raw("<link rel=\"stylesheet\" href=\"").Raw(kStyleSheetPath).Raw("\">\n</head>\n<body>\n");
}

void RankRowHtml(Html& html, const RankRow& row, int64_t place, bool mine, PageLanguage lang) {
  html.Raw(mine ? "<tr class=\"mine\">" : "<tr>");
  html.Cell("td", std::to_string(place));
  html.Raw("<td><a href=\"").Text(PagePath(lang, row.id)).Raw("\">").Text(row.userName);
  html.Raw("</a></td>");
  html.Cell("td", row.machine).Cell("td", row.cpuName).Cell("td", std::to_string(row.score));
  html.Raw("</tr>\n");
}

void Overall(Html& html, EntryStore& store, const StoredEntry& entry, PageLanguage language) {
  html.Raw("<section>\n<h2>").Word(Word::kOverall).Raw("</h2>\n<table class=\"ranking\">\n");
  html.Raw("<thead><tr>").WordCell("th", Word::kPlace).WordCell("th", Word::kName);
  html.WordCell("th", Word::kMachineName).WordCell("th", Word::kCpu);
  html.WordCell("th", Word::kScore).Raw("</tr></thead>\n<tbody>\n");
  int64_t place = 0;
  for (const RankRow& row : store.Ranking(kOverall, 0, kOverallRows)) {
    RankRowHtml(html, row, ++place, row.id == entry.id, language);
  }
  const int64_t own = store.PlaceOf(entry.id, kOverall);
  if (own > kOverallRows) {
    html.Raw("<tr class=\"gap\"><td colspan=\"5\">&#8942;</td></tr>\n");
    const std::vector<RankRow> mine = store.Ranking(kOverall, own - 1, 1);
    if (!mine.empty()) RankRowHtml(html, mine.front(), own, true, language);
  }
  html.Raw("</tbody>\n</table>\n</section>\n");
}

void ByTest(Html& html, EntryStore& store, const StoredEntry& entry) {
  html.Raw("<section>\n<h2>").Word(Word::kByTest).Raw("</h2>\n<table class=\"by-test\">\n");
  html.Raw("<thead><tr>").WordCell("th", Word::kTest).WordCell("th", Word::kScore);
  html.WordCell("th", Word::kPlace).WordCell("th", Word::kEntries);
  html.WordCell("th", Word::kBest).Raw("</tr></thead>\n<tbody>\n");
  for (size_t t = 0; t < kTestCount; ++t) {
    const int order = static_cast<int>(t);
    const int64_t place = store.PlaceOf(entry.id, order);
    const std::vector<RankRow> best = store.Ranking(order, 0, 1);
    html.Raw("<tr>").Cell("th", kTestKeys[t]).Cell("td", std::to_string(entry.tests[t]));
    if (place > 0)
      html.Cell("td", std::to_string(place));
    else
      html.WordCell("td", Word::kNoScore);
    html.Cell("td", std::to_string(store.RankedCount(order)));
    html.Cell("td", best.empty() ? "-" : std::to_string(best.front().score)).Raw("</tr>\n");
  }
  html.Raw("</tbody>\n</table>\n</section>\n");
}

void MachineRow(Html& html, enum Word label, const std::string& value) {
  html.Raw("<tr>").WordCell("th", label).Cell("td", value).Raw("</tr>\n");
}

std::string WithUnit(const std::string& name, const std::string& amount, const char* unit) {
  if (amount.empty() || amount == "0" || amount == "0.00" || amount == "-1") return name;
  return name + " (" + amount + " " + unit + ")";
}

void Machine(Html& html, const StoredEntry& e) {
  html.Raw("<section>\n<h2>").Word(Word::kMachine).Raw("</h2>\n<table class=\"machine\">\n");
  MachineRow(html, Word::kName, e.userName);
  MachineRow(html, Word::kMachineName, e.machine);
  MachineRow(html, Word::kCpu, e.cpuName);
  MachineRow(html, Word::kClock,
             Value(e, "ClockUser") + " MHz (" + Value(e, "SystemClockUser") + " MHz x " +
                 Value(e, "MultiplierUser") + ")");
  MachineRow(html, Word::kMotherBoard, Value(e, "MotherUser"));
  MachineRow(html, Word::kChipSet, Value(e, "ChipSetUser"));
  MachineRow(html, Word::kVideo, WithUnit(Value(e, "VideoUser"), Value(e, "VideoSizeUser"), "MB"));
  MachineRow(html, Word::kMemory,
             WithUnit(Value(e, "MemoryUser"), Value(e, "MemorySizeUser"), "MB"));
  if (Value(e, "RaidOn") == "1") {
    MachineRow(html, Word::kRaid, Value(e, "RaidController") + " " + Value(e, "RaidType"));
  } else {
    MachineRow(html, Word::kDisk, WithUnit(Value(e, "DiskName"), Value(e, "DiskSize"), "GB"));
  }
  MachineRow(html, Word::kOs, Value(e, "OsName"));
  MachineRow(html, Word::kCountry, Value(e, "Country"));
  MachineRow(html, Word::kArea, Value(e, "Area"));
  const std::string web = Value(e, "Web");
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

void Scores(Html& html, const StoredEntry& e) {
  html.Raw("<section>\n<h2>").Word(Word::kScores).Raw("</h2>\n<table class=\"scores\">\n");
  html.Raw("<thead><tr>").WordCell("th", Word::kTest).WordCell("th", Word::kScore);
  html.Raw("<th colspan=\"8\">").Word(Word::kSubTests).Raw(" 1 - 8</th></tr></thead>\n<tbody>\n");
  html.Raw("<tr class=\"mark\"><th>Velora</th>").Cell("td", std::to_string(e.mark));
  html.Raw("<td colspan=\"8\"></td></tr>\n");
  for (size_t t = 0; t < kTestCount; ++t) {
    html.Raw("<tr>").Cell("th", kTestKeys[t]).Cell("td", std::to_string(e.tests[t]));
    for (int n = 1; n <= 8; ++n) html.Cell("td", Value(e, kTestKeys[t] + std::to_string(n)));
    html.Raw("</tr>\n");
  }
  html.Raw("</tbody>\n</table>\n</section>\n");
}

}  // namespace

std::optional<std::string> EntryPage(EntryStore& store, int64_t id, PageLanguage language) {
  const std::optional<StoredEntry> entry = store.Find(id);
  if (!entry) return std::nullopt;
  const PageLanguage other =
      language == PageLanguage::kEnglish ? PageLanguage::kJapanese : PageLanguage::kEnglish;
  Html html(language);
  const std::string number = std::to_string(entry->id);
  Head(html, language, std::string(WordOf(Word::kTitle, language)) + " - " + number);
  html.Raw("<header>\n<h1>").Word(Word::kTitle).Raw("</h1>\n<p class=\"entry\">");
  html.Word(Word::kEntryNumber)
      .Text(" " + number + ": " + entry->userName + " / " + entry->machine);
  html.Raw("</p>\n<p class=\"language\"><a href=\"").Text(PagePath(other, entry->id)).Raw("\">");
  html.Word(Word::kOtherLanguage).Raw("</a></p>\n</header>\n<main>\n");
  Overall(html, store, *entry, language);
  ByTest(html, store, *entry);
  Machine(html, *entry);
  Scores(html, *entry);
  html.Raw("</main>\n</body>\n</html>\n");
  return html.str();
}

std::string MissingEntryPage(PageLanguage language) {
  Html html(language);
  Head(html, language, WordOf(Word::kTitle, language));
  html.Raw("<header>\n<h1>").Word(Word::kTitle).Raw("</h1>\n</header>\n<main>\n<p>");
  html.Word(Word::kMissing).Raw("</p>\n</main>\n</body>\n</html>\n");
  return html.str();
}

const char* StyleSheet() {
  return R"css(body { font-family: "DejaVu Sans", "IPAPGothic", "Noto Sans CJK JP", sans-serif; margin: 0;
  background: #f4f5f7; color: #1d2330; }
header { background: #1f3a5f; color: #fff; padding: 0.8em 1.5em; }
header h1 { margin: 0; font-size: 1.5em; }
header p { margin: 0.3em 0 0; }
header a { color: #cfe0ff; }
main { padding: 1em 1.5em; max-width: 70em; }
section { background: #fff; border: 1px solid #d5d9e0; border-radius: 4px; margin-bottom: 1.2em;
  padding: 0.5em 1em 1em; }
h2 { font-size: 1.15em; border-bottom: 2px solid #1f3a5f; padding-bottom: 0.2em; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #d5d9e0; padding: 0.25em 0.5em; text-align: left; }
thead th { background: #e8ecf3; }
table.ranking td:first-child, table.ranking td:last-child, table.by-test td,
table.scores td { text-align: right; }
table.machine th { width: 12em; background: #f0f2f6; }
tr.mine td { background: #ffe9a8; font-weight: bold; }
tr.gap td { text-align: center; color: #778; }
tr.mark td, tr.mark th { font-weight: bold; }
td.comment { white-space: pre-wrap; }
)css";
}

}  // namespace velora::server
