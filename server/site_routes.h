#pragma once
// The site of the ranking on the service's HTTP server: the index, entry and compare pages in
// both languages, the style sheet and the JSON view, all read through one RankingReads.

#include <memory>
#include <string>

#include "server/sql_runner.h"

namespace httplib {
class Server;
}

namespace velora::server {

// Prepares the read side over the runner and registers the site's routes; false with problem
// set when the runner is missing or the database cannot take the read side's indexes.
bool ServeSite(httplib::Server& http, std::unique_ptr<SqlRunner> runner, std::string& problem);

}  // namespace velora::server
