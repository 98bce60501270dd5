#include "server/index_page.h"

#include <algorithm>

#include "server/page_frame.h"
#include "server/test_names.h"

namespace velora::server {

namespace {

void Option(Html& html, const std::string& value, const std::string& text, bool selected) {
  html.Raw("<option value=\"").Text(value).Raw(selected ? "\" selected>" : "\">").Text(text);
  html.Raw("</option>");
}

void Choice(Html& html, const char* name, Word label, const std::vector<std::string>& values,
            const std::string& chosen) {
  html.Raw("<label>").Word(label).Raw(" <select name=\"").Raw(name).Raw("\">");
  Option(html, "", WordOf(Word::kAny, html.language()), chosen.empty());
  // A value no entry has (yet) stays chosen, so the form shows what the listing filters by.
  if (!chosen.empty() && std::find(values.begin(), values.end(), chosen) == values.end()) {
    Option(html, chosen, chosen, true);
  }
  for (const std::string& value : values) Option(html, value, value, value == chosen);
  html.Raw("</select></label>\n");
}

void SearchForm(Html& html, RankingReads& reads, const ListParams& params) {
  const PageLanguage language = html.language();
  html.Raw("<form class=\"search\" method=\"get\" action=\"").Text(IndexPath(language));
  html.Raw("\">\n<label class=\"query\">").Word(Word::kSearchLabel);
  html.Raw(" <input type=\"search\" name=\"q\" maxlength=\"100\" value=\"").Text(params.query.text);
  html.Raw("\"></label>\n<label>").Word(Word::kTest).Raw(" <select name=\"test\">");
  Option(html, "", WordOf(Word::kOverall, language), params.testKey.empty());
  for (size_t t = 0; t < SiteTests().size(); ++t) {
    const std::string key = SiteTests()[t].key;
    if (OffersRanking(t) || key == params.testKey) Option(html, key, key, key == params.testKey);
  }
  html.Raw("</select></label>\n");
  Choice(html, "vendor", Word::kVendor, reads.Vendors(), params.query.vendor);
  Choice(html, "country", Word::kCountryFilter, reads.Countries(), params.query.country);
  html.Raw("<label>").Word(Word::kSort).Raw(" <select name=\"sort\">");
  Option(html, "", WordOf(Word::kByScore, language), params.query.sort == ListSort::kScore);
  Option(html, "date", WordOf(Word::kNewest, language), params.query.sort == ListSort::kNewest);
  html.Raw("</select></label>\n<button type=\"submit\">").Word(Word::kSearch);
  html.Raw("</button>\n</form>\n");
}

// The rankings of every test, one link each, keeping the search and filters.
void TestTabs(Html& html, const ListParams& params) {
  html.Raw("<nav class=\"tabs\">");
  ListParams other = params;
  const auto tab = [&](const std::string& key, const std::string& text) {
    other.testKey = key;
    const bool current = key == params.testKey;
    html.Raw(current ? "<a class=\"current\" href=\"" : "<a href=\"");
    html.Text(IndexPath(html.language()) + ListQueryString(other, 1)).Raw("\">").Text(text);
    html.Raw("</a> ");
  };
  tab("", WordOf(Word::kOverall, html.language()));
  for (size_t t = 0; t < SiteTests().size(); ++t) {
    if (OffersRanking(t)) tab(SiteTests()[t].key, SiteTests()[t].key);
  }
  html.Raw("</nav>\n");
}

void Rows(Html& html, const ListPage& page, bool byDate) {
  const PageLanguage language = html.language();
  html.Raw("<form method=\"get\" action=\"").Text(ComparePath(language, {}));
  html.Raw("\">\n<table class=\"ranking list\">\n<thead><tr><th class=\"pick\"></th>");
  html.Raw("<th class=\"place\">");
  if (byDate) {
    html.Raw("#");
  } else {
    html.Word(Word::kPlace);
  }
  html.Raw("</th>").WordCell("th", Word::kName).WordCell("th", Word::kCpu);
  html.ClassCell("th", "opt", WordOf(Word::kCountry, language));
  html.ClassCell("th", "score", WordOf(Word::kScore, language));
  html.ClassCell("th", "opt", WordOf(Word::kDate, language)).Raw("</tr></thead>\n<tbody>\n");
  for (const ListedEntry& e : page.entries) {
    html.Raw("<tr><td class=\"pick\"><input type=\"checkbox\" name=\"id\" value=\"");
    html.Raw(std::to_string(e.id)).Raw("\"></td>");
    html.ClassCell("td", "place", std::to_string(e.place));
    html.Raw("<td class=\"who\">").Link(EntryPath(language, e.id), e.userName);
    html.Raw("<span class=\"rig\">").Text(e.machine).Raw("</span></td>");
    html.Cell("td", e.cpuName).ClassCell("td", "opt", e.country);
    html.ClassCell("td", "score", Grouped(e.score)).ClassCell("td", "opt", UtcDate(e.created));
    html.Raw("</tr>\n");
  }
  html.Raw("</tbody>\n</table>\n<p><button type=\"submit\">").Word(Word::kCompare);
  html.Raw("</button></p>\n</form>\n");
}

void Pages(Html& html, const ListParams& params, int64_t total) {
  const int64_t pages = std::max<int64_t>(1, (total + params.perPage - 1) / params.perPage);
  const std::string path = IndexPath(html.language());
  html.Raw("<nav class=\"pages\">");
  if (params.page > 1) {
    html.Raw("<a rel=\"prev\" href=\"").Text(path + ListQueryString(params, params.page - 1));
    html.Raw("\">&larr; ").Word(Word::kPrevious).Raw("</a> ");
  }
  html.Raw("<span>").Word(Word::kPageOf).Text(" " + std::to_string(params.page) + " / " +
                                                 std::to_string(pages));
  html.Raw("</span>");
  if (params.page < pages) {
    html.Raw(" <a rel=\"next\" href=\"").Text(path + ListQueryString(params, params.page + 1));
    html.Raw("\">").Word(Word::kNext).Raw(" &rarr;</a>");
  }
  html.Raw("</nav>\n");
}

}  // namespace

std::string IndexPage(RankingReads& reads, const ListParams& params, PageLanguage language) {
  Html html(language);
  const std::string title = params.testKey.empty()
                                ? std::string(WordOf(Word::kOverall, language))
                                : params.testKey + " " + WordOf(Word::kRankingOf, language);
  BeginPage(html, title, IndexPath(OtherLanguage(language)) + ListQueryString(params, params.page));
  const ListPage page = reads.List(params.query);
  const bool filtered = !params.query.text.empty() || !params.query.vendor.empty() ||
                        !params.query.country.empty();
  if (page.total == 0 && !filtered && reads.RankedCounts()[0] == 0) {
    html.Raw("<section class=\"welcome\">\n<h2>").Word(Word::kWelcome).Raw("</h2>\n<p>");
    html.Word(Word::kWelcomeText).Raw("</p>\n</section>\n");
    EndPage(html);
    return html.str();
  }
  html.Raw("<section>\n");
  SearchForm(html, reads, params);
  TestTabs(html, params);
  html.Raw("<p class=\"count\">").Text(Grouped(page.total) + " ").Word(Word::kMatches);
  html.Raw("</p>\n");
  if (page.entries.empty()) {
    html.Raw("<p>").Word(Word::kNoMatch).Raw("</p>\n");
  } else {
    Rows(html, page, params.query.sort == ListSort::kNewest);
  }
  Pages(html, params, page.total);
  html.Raw("</section>\n");
  EndPage(html);
  return html.str();
}

}  // namespace velora::server
