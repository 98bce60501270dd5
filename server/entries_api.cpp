#include "server/entries_api.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdlib>

#include "server/body_keys.h"
#include "server/page_frame.h"
#include "server/test_names.h"

namespace velora::server {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

ApiReply Error(int status, const std::string& message) {
  return {status, Dump(Json{{"error", message}})};
}

std::string IsoTime(int64_t seconds) {
  std::string text = UtcTime(seconds);
  text[10] = 'T';
  return text + ":00Z";
}

// A stored value as its kind: numbers as numbers, so a client need not parse them again.
Json Typed(ValueKind kind, const std::string& text) {
  if (kind == ValueKind::kText || text.empty()) return text;
  if (kind == ValueKind::kDecimal) {
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    return *end == '\0' ? Json(number) : Json(text);
  }
  int64_t number = 0;
  const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && at == text.data() + text.size() ? Json(number) : Json(text);
}

ValueKind KindOf(const std::string& key) {
  for (const BodyKey& body : RegistrationKeys()) {
    if (body.name == key) return body.kind;
  }
  return ValueKind::kText;
}

}  // namespace

ApiReply EntryList(RankingReads& reads, const ParamOf& param) {
  std::string problem;
  const std::optional<ListParams> params = ReadListParams(param, problem);
  if (!params) return Error(400, problem);
  const ListPage page = reads.List(params->query);
  Json entries = Json::array();
  for (const ListedEntry& e : page.entries) {
    entries.push_back({{"place", e.place},
                       {"id", e.id},
                       {"created", IsoTime(e.created)},
                       {"user_name", e.userName},
                       {"machine", e.machine},
                       {"cpu_name", e.cpuName},
                       {"cpu_vendor", e.cpuVendor},
                       {"country", e.country},
                       {"score", e.score}});
  }
  const Json reply = {{"test", params->testKey.empty() ? "overall" : params->testKey},
                      {"sort", params->query.sort == ListSort::kNewest ? "date" : "score"},
                      {"q", params->query.text},
                      {"vendor", params->query.vendor},
                      {"country", params->query.country},
                      {"page", params->page},
                      {"per_page", params->perPage},
                      {"total", page.total},
                      {"entries", entries}};
  return {200, Dump(reply)};
}

ApiReply EntryDetail(RankingReads& reads, int64_t id) {
  const std::optional<EntryView> entry = reads.Find(id);
  if (!entry) return Error(404, "no such entry");
  Json tests = Json::object(), subTests = Json::object();
  for (size_t t = 0; t < kSiteTestCount; ++t) {
    const std::string key = SiteTests()[t].key;
    tests[key] = entry->tests[t];
    Json list = Json::array();
    for (int n = 1; n <= static_cast<int>(SiteTests()[t].subTests.size()); ++n) {
      const std::string field = key + std::to_string(n);
      list.push_back({{"name", SubTestName(t, n)},
                      {"score", Typed(ValueKind::kInteger, entry->Field(field))},
                      {"value", Typed(ValueKind::kInteger, entry->Field(field + "V"))}});
    }
    subTests[key] = list;
  }
  Json fields = Json::object();
  for (const FormPair& pair : entry->fields) fields[pair.key] = Typed(KindOf(pair.key), pair.value);
  const Json reply = {{"id", entry->id},
                      {"created", IsoTime(entry->created)},
                      {"user_name", entry->userName},
                      {"machine", entry->machine},
                      {"cpu_name", entry->cpuName},
                      {"cpu_vendor", entry->cpuVendor},
                      {"country", entry->country},
                      {"comment", entry->comment},
                      {"mark", entry->mark},
                      {"tests", tests},
                      {"sub_tests", subTests},
                      {"fields", fields}};
  return {200, Dump(reply)};
}

}  // namespace velora::server
