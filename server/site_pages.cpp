#include "server/site_pages.h"

#include "server/compare_page.h"
#include "server/entries_api.h"
#include "server/entry_page.h"
#include "server/index_page.h"
#include "server/page_frame.h"
#include "server/style_sheet.h"

namespace velora::server {

namespace {

constexpr const char* kEntryApiPrefix = "/api/entries/";

SiteReply Page(int status, std::string html) {
  // Should anything slip past the escaping, the browser still runs no script of it.
  return {status,
          "text/html; charset=utf-8",
          std::move(html),
          {{"X-Content-Type-Options", "nosniff"},
           {"Content-Security-Policy", "default-src 'none'; style-src 'self'"}}};
}

SiteReply Json(const ApiReply& reply) {
  return {reply.status, "application/json", reply.json, {{"X-Content-Type-Options", "nosniff"}}};
}

// The bare addresses speak the visitor's first language if it is Japanese, else English.
PageLanguage Preferred(const SiteRequest& req) {
  const std::string first = req.acceptLanguage.substr(0, req.acceptLanguage.find_first_of(",;"));
  return first.rfind("ja", 0) == 0 ? PageLanguage::kJapanese : PageLanguage::kEnglish;
}

// A decimal entry number; 0 when the text is not one.
int64_t IdOf(const std::string& text) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  return std::stoll(text);
}

using LanguagePage = std::function<SiteReply(const SiteRequest&, PageLanguage)>;

}  // namespace

std::string SiteRequest::Param(const char* name) const {
  const std::vector<std::string> all = values(name);
  return all.empty() ? std::string() : all.front();
}

std::optional<std::vector<SiteRoute>> SiteRoutes(std::unique_ptr<SqlRunner> runner,
                                                 std::string& problem) {
  if (!runner) return std::nullopt;
  auto reads = std::make_shared<RankingReads>(std::move(runner));
  if (!reads->Prepare(problem)) return std::nullopt;

  const LanguagePage index = [reads](const SiteRequest& req, PageLanguage language) {
    std::string why;
    const std::optional<ListParams> params =
        ReadListParams([&req](const char* name) { return req.Param(name); }, why);
    if (!params) return Page(400, MissingPage(language, Word::kBadQuery));
    return Page(200, IndexPage(*reads, *params, language));
  };
  const LanguagePage entry = [reads](const SiteRequest& req, PageLanguage language) {
    const int64_t id = IdOf(req.Param("ID"));
    std::optional<std::string> html;
    if (id > 0) html = EntryPage(*reads, id, language);
    return html ? Page(200, std::move(*html)) : Page(404, MissingPage(language));
  };
  const LanguagePage compare = [reads](const SiteRequest& req, PageLanguage language) {
    std::vector<std::string> texts = req.values("ids");
    for (std::string& text : req.values("id")) texts.push_back(std::move(text));
    const std::optional<std::vector<int64_t>> ids = ReadComparedIds(texts);
    if (!ids) return Page(400, MissingPage(language, Word::kCompareNeeds));
    std::optional<std::string> html = ComparePage(*reads, *ids, language);
    return html ? Page(200, std::move(*html)) : Page(404, MissingPage(language));
  };

  std::vector<SiteRoute> routes;
  const auto add = [&routes](const std::string& path, const LanguagePage& page,
                             std::optional<PageLanguage> language) {
    routes.push_back({path, false, [page, language](const SiteRequest& req) {
                        return page(req, language.value_or(Preferred(req)));
                      }});
  };
  for (const PageLanguage language : {PageLanguage::kJapanese, PageLanguage::kEnglish}) {
    const std::string root = LanguageRoot(language);
    add(root, index, language);
    add(root + "/", index, language);
    add(root + "/ranking.php", entry, language);
    add(root + "/compare", compare, language);
  }
  add("/", index, std::nullopt);
  add("/compare", compare, std::nullopt);
  routes.push_back({kStyleSheetPath, false, [](const SiteRequest&) {
                      return SiteReply{200,
                                       "text/css; charset=utf-8",
                                       StyleSheet(),
                                       {{"X-Content-Type-Options", "nosniff"}}};
                    }});
  routes.push_back({"/api/entries", false, [reads](const SiteRequest& req) {
                      return Json(EntryList(*reads, [&req](const char* name) { return req.Param(name); }));
                    }});
  routes.push_back({kEntryApiPrefix, true, [reads](const SiteRequest& req) {
                      const int64_t id = IdOf(req.path.substr(std::string(kEntryApiPrefix).size()));
                      return id > 0 ? Json(EntryDetail(*reads, id))
                                    : Json({404, "{\"error\":\"no such entry\"}"});
                    }});
  return routes;
}

}  // namespace velora::server
