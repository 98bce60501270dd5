#include "server/entries_api.h"

#include <nlohmann/json.hpp>

#include <charconv>

#include "server/body_keys.h"

namespace velora::server {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

ApiReply Error(int status, const std::string& message) {
  return {status, Dump(Json{{"error", message}})};
}

// A whole number in [low, high] from the query; the fallback when the parameter is absent.
bool ReadNumber(const std::string& text, int64_t fallback, int64_t low, int64_t high,
                int64_t& number) {
  if (text.empty()) {
    number = fallback;
    return true;
  }
  const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && at == text.data() + text.size() && number >= low && number <= high;
}

}  // namespace

ApiReply EntryList(EntryStore& store, const std::string& test, const std::string& page,
                   const std::string& perPage) {
  int order = kOverall;
  if (!test.empty()) {
    order = -2;
    for (size_t t = 0; t < kTestCount; ++t) {
      if (kTestKeys[t] == test) order = static_cast<int>(t);
    }
    if (order == -2) return Error(400, "unknown test");
  }
  int64_t pageNumber = 0, size = 0;
  if (!ReadNumber(page, 1, 1, 1000000, pageNumber) ||
      !ReadNumber(perPage, kDefaultPageSize, 1, kMaxPageSize, size)) {
    return Error(400, "page and per_page must be whole numbers in range");
  }
  const int64_t offset = (pageNumber - 1) * size;
  Json entries = Json::array();
  int64_t place = offset;
  for (const RankRow& row : store.Ranking(order, offset, size)) {
    entries.push_back({{"place", ++place},
                       {"id", row.id},
                       {"user_name", row.userName},
                       {"machine", row.machine},
                       {"cpu_name", row.cpuName},
                       {"score", row.score}});
  }
  const Json reply = {{"test", test.empty() ? "overall" : test},
                      {"page", pageNumber},
                      {"per_page", size},
                      {"total", store.RankedCount(order)},
                      {"entries", entries}};
  return {200, Dump(reply)};
}

ApiReply EntryDetail(EntryStore& store, int64_t id) {
  const std::optional<StoredEntry> entry = store.Find(id);
  if (!entry) return Error(404, "no such entry");
  Json tests = Json::object();
  for (size_t t = 0; t < kTestCount; ++t) tests[kTestKeys[t]] = entry->tests[t];
  Json fields = Json::object();
  for (const FormPair& pair : entry->pairs) fields[pair.key] = pair.value;
  const Json reply = {{"id", entry->id},
                      {"created", entry->created},
                      {"user_name", entry->userName},
                      {"machine", entry->machine},
                      {"cpu_name", entry->cpuName},
                      {"comment", entry->comment},
                      {"mark", entry->mark},
                      {"tests", tests},
                      {"fields", fields}};
  return {200, Dump(reply)};
}

}  // namespace velora::server
