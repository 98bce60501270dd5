#pragma once
// The site's routes on cpp-httplib's server.

#include <memory>
#include <string>

#include "server/sql_runner.h"

namespace httplib {
class Server;
}

namespace velora::server {

// Prepares the read side over the runner and registers every route of the site; false with
// problem set when that fails.
bool ServeSite(httplib::Server& http, std::unique_ptr<SqlRunner> runner, std::string& problem);

}  // namespace velora::server
