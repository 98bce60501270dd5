#include "server/site_routes.h"

#include <httplib.h>

#include "server/compare_page.h"
#include "server/entries_api.h"
#include "server/entry_page.h"
#include "server/index_page.h"
#include "server/page_frame.h"
#include "server/style_sheet.h"

namespace velora::server {

namespace {

using httplib::Request;
using httplib::Response;

void SecureHeaders(Response& res) {
  res.set_header("X-Content-Type-Options", "nosniff");
  // Should anything slip past the escaping, the browser still runs no script of it.
  res.set_header("Content-Security-Policy", "default-src 'none'; style-src 'self'");
}

void Reply(Response& res, int status, const std::string& html) {
  SecureHeaders(res);
  res.status = status;
  res.set_content(html, "text/html; charset=utf-8");
}

// The bare addresses speak the visitor's first language if it is Japanese, else English.
PageLanguage Preferred(const Request& req) {
  const std::string accept = req.get_header_value("Accept-Language");
  const std::string first = accept.substr(0, accept.find_first_of(",;"));
  return first.rfind("ja", 0) == 0 ? PageLanguage::kJapanese : PageLanguage::kEnglish;
}

// A decimal entry number from the query; 0 when there is none.
int64_t IdOf(const std::string& text) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  return std::stoll(text);
}

ParamOf ParamsOf(const Request& req) {
  return [&req](const char* name) { return req.get_param_value(name); };
}

std::vector<std::string> AllValues(const Request& req, const char* name) {
  std::vector<std::string> values;
  for (size_t i = 0; i < req.get_param_value_count(name); ++i) {
    values.push_back(req.get_param_value(name, i));
  }
  return values;
}

}  // namespace

bool ServeSite(httplib::Server& http, std::unique_ptr<SqlRunner> runner, std::string& problem) {
  if (!runner) return false;
  auto reads = std::make_shared<RankingReads>(std::move(runner));
  if (!reads->Prepare(problem)) return false;

  const auto index = [reads](const Request& req, Response& res, PageLanguage language) {
    std::string why;
    const std::optional<ListParams> params = ReadListParams(ParamsOf(req), why);
    if (!params) return Reply(res, 400, MissingPage(language, Word::kBadQuery));
    Reply(res, 200, IndexPage(*reads, *params, language));
  };
  const auto entry = [reads](const Request& req, Response& res, PageLanguage language) {
    const int64_t id = IdOf(req.get_param_value("ID"));
    std::optional<std::string> html;
    if (id > 0) html = EntryPage(*reads, id, language);
    if (!html) return Reply(res, 404, MissingPage(language));
    Reply(res, 200, *html);
  };
  const auto compare = [reads](const Request& req, Response& res, PageLanguage language) {
    std::vector<std::string> texts = AllValues(req, "ids");
    for (std::string& text : AllValues(req, "id")) texts.push_back(std::move(text));
    const std::optional<std::vector<int64_t>> ids = ReadComparedIds(texts);
    if (!ids) return Reply(res, 400, MissingPage(language, Word::kCompareNeeds));
    const std::optional<std::string> html = ComparePage(*reads, *ids, language);
    if (!html) return Reply(res, 404, MissingPage(language));
    Reply(res, 200, *html);
  };

  using Page = std::function<void(const Request&, Response&, PageLanguage)>;
  const auto in = [](const Page& page, PageLanguage language) {
    return [page, language](const Request& req, Response& res) { page(req, res, language); };
  };
  const auto preferred = [](const Page& page) {
    return [page](const Request& req, Response& res) { page(req, res, Preferred(req)); };
  };
  for (const PageLanguage language : {PageLanguage::kJapanese, PageLanguage::kEnglish}) {
    const std::string root = LanguageRoot(language);
    http.Get(root, in(index, language));
    http.Get(root + "/", in(index, language));
    http.Get(root + "/ranking.php", in(entry, language));
    http.Get(root + "/compare", in(compare, language));
  }
  http.Get("/", preferred(index));
  http.Get("/compare", preferred(compare));

  http.Get(kStyleSheetPath, [](const Request&, Response& res) {
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(StyleSheet(), "text/css; charset=utf-8");
  });

  const auto json = [](Response& res, const ApiReply& reply) {
    res.status = reply.status;
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(reply.json, "application/json");
  };
  http.Get("/api/entries", [reads, json](const Request& req, Response& res) {
    json(res, EntryList(*reads, ParamsOf(req)));
  });
  http.Get(R"(/api/entries/(\d{1,18}))", [reads, json](const Request& req, Response& res) {
    json(res, EntryDetail(*reads, std::stoll(req.matches[1].str())));
  });
  return true;
}

}  // namespace velora::server
