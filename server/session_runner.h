#pragma once
// The site's reads and its few writes over the service's database: reads on a reader session,
// which never waits for a registration; writes in one transaction that takes its turn with the
// registrations.

#include "server/sql_database.h"
#include "server/sql_runner.h"

namespace velora::server {

class SessionRunner : public SqlRunner {
 public:
  // The database must outlive the runner.
  explicit SessionRunner(SqlDatabase& database) : database_(database) {}

  std::optional<std::vector<SqlTextRow>> Run(const SqlStatement& statement) override;
  bool RunTogether(const std::vector<SqlStatement>& statements) override;

 private:
  SqlDatabase& database_;
};

}  // namespace velora::server
