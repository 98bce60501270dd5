#pragma once
// SQL run the same way on SQLite and PostgreSQL: statements in portable SQL with `?` for each
// parameter (rewritten to $n for PostgreSQL), every result read back as text and numbers. A
// session is one connection used by one thread at a time; the database lends them out.

#include <condition_variable>
#include <cstdint>
#include <mutex>
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
  size_t columns() const { return rows_.empty() ? 0 : rows_.front().size(); }
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
  // False once the connection is lost or left in a failed transaction.
  virtual bool Healthy() = 0;
};

class SqlDatabase;

// A session on loan; it goes back to the database when this ends.
class SqlLease {
 public:
  SqlLease(SqlDatabase* owner, std::unique_ptr<SqlSession> session, bool writer)
      : owner_(owner), session_(std::move(session)), writer_(writer) {}
  SqlLease(SqlLease&&) = default;
  SqlLease& operator=(SqlLease&&) = delete;
  ~SqlLease();
  SqlSession* operator->() const { return session_.get(); }
  SqlSession& operator*() const { return *session_; }
  explicit operator bool() const { return session_ != nullptr; }

 private:
  SqlDatabase* owner_;
  std::unique_ptr<SqlSession> session_;
  bool writer_;
};

// Opens a new session: for writing, or for reading only. Nothing when it cannot, with problem set.
using SqlOpener = std::function<std::unique_ptr<SqlSession>(bool writer, std::string& problem)>;

class SqlDatabase {
 public:
  // At most `writers` write sessions lent at once (0: no limit); readers have no limit.
  SqlDatabase(SqlDialect dialect, SqlOpener opener, size_t writers)
      : dialect_(dialect), opener_(std::move(opener)), writers_(writers) {}
  SqlDatabase(const SqlDatabase&) = delete;
  SqlDatabase& operator=(const SqlDatabase&) = delete;

  // A session for reading; on either backend it never waits for a writer. An empty lease when no
  // session could be opened; problem() says why.
  SqlLease Reader();
  // A session for one write transaction; on SQLite they take turns.
  SqlLease Writer();
  SqlDialect dialect() const { return dialect_; }
  std::string problem();

 private:
  friend class SqlLease;
  SqlLease Lend(bool writer);
  void Return(std::unique_ptr<SqlSession> session, bool writer);

  SqlDialect dialect_;
  SqlOpener opener_;
  size_t writers_;
  std::mutex mutex_;
  std::condition_variable writerFree_;
  size_t writersOut_ = 0;
  std::vector<std::unique_ptr<SqlSession>> idleReaders_, idleWriters_;
  std::string problem_;
};

bool IsPostgresAddress(const std::string& where);

// `--db` as given: "postgresql://..." or "postgres://..." opens PostgreSQL, anything else is a
// SQLite file. Nothing with problem set when it cannot open.
std::unique_ptr<SqlDatabase> OpenSqlDatabase(const std::string& where, std::string& problem);

}  // namespace velora::server
