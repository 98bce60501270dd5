#include "server/sqlite_runner.h"

#include <sqlite3.h>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace velora::server {

namespace {

// Readers at once; more requests wait for a free connection.
constexpr size_t kConnections = 4;

class SqliteRunner : public SqlRunner {
 public:
  ~SqliteRunner() override {
    for (sqlite3* db : all_) sqlite3_close(db);
  }

  bool Open(const std::string& path, std::string& problem) {
    for (size_t i = 0; i < kConnections; ++i) {
      sqlite3* db = nullptr;
      const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
      if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        problem = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return false;
      }
      sqlite3_busy_timeout(db, 5000);
      all_.push_back(db);
      free_.push_back(db);
    }
    return true;
  }

  std::optional<std::vector<SqlTextRow>> Run(const SqlStatement& statement) override {
    Lease lease(*this);
    return RunOn(lease.db, statement);
  }

  bool RunTogether(const std::vector<SqlStatement>& statements) override {
    Lease lease(*this);
    if (!RunOn(lease.db, {"BEGIN IMMEDIATE", {}})) return false;
    for (const SqlStatement& statement : statements) {
      if (!RunOn(lease.db, statement)) {
        RunOn(lease.db, {"ROLLBACK", {}});
        return false;
      }
    }
    if (RunOn(lease.db, {"COMMIT", {}})) return true;
    RunOn(lease.db, {"ROLLBACK", {}});
    return false;
  }

 private:
  static std::optional<std::vector<SqlTextRow>> RunOn(sqlite3* db, const SqlStatement& statement) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, statement.text.c_str(), -1, &prepared, nullptr) != SQLITE_OK) {
      return std::nullopt;
    }
    int index = 1;
    for (const SqlParam& value : statement.params) {
      if (const auto* number = std::get_if<int64_t>(&value)) {
        sqlite3_bind_int64(prepared, index, *number);
      } else if (const auto* text = std::get_if<std::string>(&value)) {
        sqlite3_bind_text(prepared, index, text->data(), static_cast<int>(text->size()),
                          SQLITE_TRANSIENT);
      }
      ++index;
    }
    std::vector<SqlTextRow> rows;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
      SqlTextRow row;
      for (int c = 0; c < sqlite3_column_count(prepared); ++c) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(prepared, c));
        row.emplace_back(text != nullptr ? text : "",
                         static_cast<size_t>(sqlite3_column_bytes(prepared, c)));
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(prepared);
    if (step != SQLITE_DONE) return std::nullopt;
    return rows;
  }

  // One connection for one statement; a connection is never shared between threads.
  struct Lease {
    explicit Lease(SqliteRunner& runner) : owner(runner) {
      std::unique_lock<std::mutex> lock(owner.mutex_);
      owner.returned_.wait(lock, [this] { return !owner.free_.empty(); });
      db = owner.free_.back();
      owner.free_.pop_back();
    }
    ~Lease() {
      {
        std::lock_guard<std::mutex> lock(owner.mutex_);
        owner.free_.push_back(db);
      }
      owner.returned_.notify_one();
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    SqliteRunner& owner;
    sqlite3* db = nullptr;
  };

  std::mutex mutex_;
  std::condition_variable returned_;
  std::vector<sqlite3*> all_, free_;
};

}  // namespace

std::unique_ptr<SqlRunner> OpenSqliteRunner(const std::string& path, std::string& problem) {
  auto runner = std::make_unique<SqliteRunner>();
  if (!runner->Open(path, problem)) return nullptr;
  return runner;
}

}  // namespace velora::server
