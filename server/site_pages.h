#pragma once
// The site's routes without an HTTP library: each path with the function that answers it, over
// one RankingReads. An HTTP front registers them and converts its request and reply.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "server/sql_runner.h"

namespace velora::server {

struct SiteRequest {
  std::string path;  // without the query
  // Every value of a query parameter, decoded, in order; none when absent.
  std::function<std::vector<std::string>(const char* name)> values;
  std::string acceptLanguage;

  std::string Param(const char* name) const;
};

struct SiteReply {
  int status = 200;
  std::string contentType, body;
  std::vector<std::pair<std::string, std::string>> headers;
};

struct SiteRoute {
  std::string path;
  // The path is a prefix that a decimal number follows ("/api/entries/" for "/api/entries/7").
  bool numbered = false;
  std::function<SiteReply(const SiteRequest&)> answer;
};

// Prepares the read side over the runner; nothing, with problem set, when the runner is missing
// or the database cannot take the read side's columns and indexes.
std::optional<std::vector<SiteRoute>> SiteRoutes(std::unique_ptr<SqlRunner> runner,
                                                 std::string& problem);

}  // namespace velora::server
