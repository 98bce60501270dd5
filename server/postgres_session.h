#pragma once
// The PostgreSQL backend (libpq): any number of sessions, so several services on several
// machines can share one database.

#include <memory>
#include <string>
#include <string_view>

#include "server/sql_database.h"

namespace velora::server {

std::unique_ptr<SqlDatabase> OpenPostgres(const std::string& address, std::string& problem);

// Portable SQL's `?` as PostgreSQL's $1, $2, ..., leaving quoted text alone.
std::string NumberedParameters(std::string_view sql);

}  // namespace velora::server
