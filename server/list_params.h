#pragma once
// The parameters of a listing, as the index page and the JSON list both take them from the
// address: q, test, vendor, country, sort, page, per_page.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "server/ranking_reads.h"

namespace velora::server {

constexpr int64_t kDefaultPageSize = 50;
constexpr int64_t kMaxPageSize = 200;

struct ListParams {
  ListQuery query;  // offset and limit follow from page and perPage
  int64_t page = 1, perPage = kDefaultPageSize;
  std::string testKey;  // "" for the overall ranking
};

// A parameter's value from the address; "" when absent.
using ParamOf = std::function<std::string(const char* name)>;

// Nothing, with problem set, when a value is unreadable or out of range.
std::optional<ListParams> ReadListParams(const ParamOf& param, std::string& problem);

// The address query of the same listing at another page ("" parts left out), "?" included.
std::string ListQueryString(const ListParams& params, int64_t page);

std::string UrlEncoded(const std::string& text);

}  // namespace velora::server
