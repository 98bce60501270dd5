#pragma once
// The read side's runner over SQLite: connections of its own to the service's file, so pages
// read while a registration writes (the file is in WAL mode).

#include <memory>
#include <string>

#include "server/sql_runner.h"

namespace velora::server {

// Nothing, with problem set, when the file cannot be opened.
std::unique_ptr<SqlRunner> OpenSqliteRunner(const std::string& path, std::string& problem);

}  // namespace velora::server
