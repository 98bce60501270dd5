#include "server/list_params.h"

#include <charconv>

#include "server/test_names.h"

namespace velora::server {

namespace {

constexpr size_t kMaxSearchBytes = 100;
constexpr size_t kMaxFilterBytes = 40;
constexpr int64_t kMaxPage = 1'000'000;

// A whole number in [low, high]; the fallback when the text is empty.
bool ReadNumber(const std::string& text, int64_t fallback, int64_t low, int64_t high,
                int64_t& number) {
  if (text.empty()) {
    number = fallback;
    return true;
  }
  const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && at == text.data() + text.size() && number >= low && number <= high;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<ListParams> ReadListParams(const ParamOf& param, std::string& problem) {
  ListParams params;
  params.testKey = param("test");
  if (params.testKey == "overall") params.testKey.clear();
  if (!params.testKey.empty()) {
    params.query.order = TestIndexOf(params.testKey);
    if (params.query.order < 0) {
      problem = "unknown test";
      return std::nullopt;
    }
  }
  params.query.text = Trimmed(param("q"));
  params.query.vendor = param("vendor");
  params.query.country = param("country");
  if (params.query.text.size() > kMaxSearchBytes || params.query.vendor.size() > kMaxFilterBytes ||
      params.query.country.size() > kMaxFilterBytes) {
    problem = "q, vendor or country too long";
    return std::nullopt;
  }
  const std::string sort = param("sort");
  if (sort == "date") {
    params.query.sort = ListSort::kNewest;
  } else if (!sort.empty() && sort != "score") {
    problem = "sort must be score or date";
    return std::nullopt;
  }
  if (!ReadNumber(param("page"), 1, 1, kMaxPage, params.page) ||
      !ReadNumber(param("per_page"), kDefaultPageSize, 1, kMaxPageSize, params.perPage)) {
    problem = "page and per_page must be whole numbers in range";
    return std::nullopt;
  }
  params.query.offset = (params.page - 1) * params.perPage;
  params.query.limit = params.perPage;
  return params;
}

std::string UrlEncoded(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || c == '-' || c == '_' || c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string ListQueryString(const ListParams& params, int64_t page) {
  std::string query;
  const auto add = [&](const char* name, const std::string& value) {
    if (value.empty()) return;
    query += (query.empty() ? "?" : "&") + std::string(name) + "=" + UrlEncoded(value);
  };
  add("q", params.query.text);
  add("test", params.testKey);
  add("vendor", params.query.vendor);
  add("country", params.query.country);
  add("sort", params.query.sort == ListSort::kNewest ? "date" : "");
  add("per_page", params.perPage == kDefaultPageSize ? "" : std::to_string(params.perPage));
  add("page", page == 1 ? "" : std::to_string(page));
  return query;
}

}  // namespace velora::server
