#pragma once
// SQL run the same way on SQLite and PostgreSQL: statements in portable SQL with `?` for each
// parameter (rewritten to $n for PostgreSQL), every result read back as text and numbers. A
// session is one connection used by one thread at a time; the database lends them out.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velora::server {

// Bytes compared as bytes (BLOB, bytea), not as text.
struct SqlBytes {
  std::string bytes;
};
using SqlValue = std::variant<int64_t, std::string, SqlBytes>;

class SqlRows {
 public:
  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  const std::string& Text(size_t row, size_t column) const { return rows_[row][column]; }
  int64_t Number(size_t row, size_t column) const;
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

 private:
  std::vector<std::vector<std::string>> rows_;  // NULL reads as ""
};

enum class SqlDialect { kSqlite, kPostgres };

class SqlSession {
 public:
  virtual ~SqlSession() = default;
  // Nothing when the statement failed; problem() says why.
  virtual std::optional<SqlRows> Query(std::string_view sql,
                                       const std::vector<SqlValue>& params = {}) = 0;
  bool Execute(std::string_view sql, const std::vector<SqlValue>& params = {}) {
    return Query(sql, params).has_value();
  }
  // Several statements without parameters (a schema).
  virtual bool Script(std::string_view sql) = 0;
  virtual const std::string& problem() const = 0;
  virtual SqlDialect dialect() const = 0;
};

class SqlDatabase;

// A session on loan; it goes back to the database when this ends.
class SqlLease {
 public:
  SqlLease(SqlDatabase* owner, std::unique_ptr<SqlSession> session)
      : owner_(owner), session_(std::move(session)) {}
  SqlLease(SqlLease&&) = default;
  SqlLease& operator=(SqlLease&&) = delete;
  ~SqlLease();
  SqlSession* operator->() const { return session_.get(); }
  SqlSession& operator*() const { return *session_; }
  explicit operator bool() const { return session_ != nullptr; }

 private:
  SqlDatabase* owner_;
  std::unique_ptr<SqlSession> session_;
};

class SqlDatabase {
 public:
  virtual ~SqlDatabase() = default;
  // A session for reading; it never waits for a writer on either backend.
  virtual SqlLease Reader() = 0;
  // The session for a write transaction (on SQLite one at a time; on PostgreSQL any number).
  virtual SqlLease Writer() = 0;
  virtual SqlDialect dialect() const = 0;
  virtual void Return(std::unique_ptr<SqlSession> session, bool writer) = 0;
};

// `--db` as given: "postgresql://..." or "postgres://..." opens PostgreSQL, anything else is a
// SQLite file. Nothing with problem set when it cannot open.
std::unique_ptr<SqlDatabase> OpenSqlDatabase(const std::string& where, int sessions,
                                             std::string& problem);

}  // namespace velora::server
