#pragma once
// The entries' schema, created or brought up to date by the service at start: the same tables,
// columns and indexes on SQLite and PostgreSQL, each in its own types. Every step can run again.

#include <string>

#include "server/sql_database.h"

namespace velora::server {

// The column of an order: "mark", or "t0" to "t9" for the tests in key order.
std::string ScoreColumn(int order);

// Runs in one transaction on the write session; false with problem set.
bool MigrateSchema(SqlSession& session, SqlDialect dialect, std::string& problem);

// Serialises the writers of every service on the database for the rest of the transaction
// (PostgreSQL); SQLite's BEGIN IMMEDIATE already does.
constexpr const char* kWriteLock = "SELECT pg_advisory_xact_lock(8009000900)";

// Opens a write transaction that takes its turn with every other writer; false when it cannot.
bool BeginWrite(SqlSession& session, SqlDialect dialect);

}  // namespace velora::server
