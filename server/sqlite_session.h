#pragma once
// The SQLite backend: one file in WAL mode with full sync. Writers take turns on one connection;
// each reading thread has a connection of its own and reads the last commit without waiting.
// The folder is made 0700 and the file 0600: it holds password hashes and mail addresses.

#include <memory>
#include <string>

#include "server/sql_database.h"

namespace velora::server {

std::unique_ptr<SqlDatabase> OpenSqlite(const std::string& path, std::string& problem);

}  // namespace velora::server
