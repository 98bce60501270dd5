#include "server/sqlite_session.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unordered_map>

namespace velora::server {

namespace {

class SqliteSession : public SqlSession {
 public:
  explicit SqliteSession(sqlite3* db) : db_(db) {}
  ~SqliteSession() override {
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    sqlite3_close(db_);
  }

  std::optional<SqlRows> Query(std::string_view sql, const std::vector<SqlValue>& params) override {
    sqlite3_stmt* statement = Prepared(sql);
    if (statement == nullptr) return std::nullopt;
    int index = 1;
    for (const SqlValue& param : params) {
      if (const auto* number = std::get_if<int64_t>(&param)) {
        sqlite3_bind_int64(statement, index, *number);
      } else if (const auto* text = std::get_if<std::string>(&param)) {
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                          SQLITE_TRANSIENT);
      } else {
        const std::string& bytes = std::get<SqlBytes>(param).bytes;
        sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
      }
      ++index;
    }
    SqlRows rows;
    const int columns = sqlite3_column_count(statement);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
      std::vector<std::string> row(static_cast<size_t>(columns));
      for (int c = 0; c < columns; ++c) {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, c));
        if (data != nullptr)
          row[static_cast<size_t>(c)].assign(data,
                                             static_cast<size_t>(sqlite3_column_bytes(statement, c)));
      }
      rows.Add(std::move(row));
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (step != SQLITE_DONE) {
      problem_ = sqlite3_errmsg(db_);
      return std::nullopt;
    }
    return rows;
  }

  bool Script(std::string_view sql) override {
    char* message = nullptr;
    const std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    problem_ = message != nullptr ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
  }

  const std::string& problem() const override { return problem_; }

  bool Healthy() override {
    if (sqlite3_get_autocommit(db_) != 0) return true;
    Script("ROLLBACK");
    return sqlite3_get_autocommit(db_) != 0;
  }

 private:
  // Statements are prepared once per connection and kept: pages run the same few again and again.
  sqlite3_stmt* Prepared(std::string_view sql) {
    const std::string key(sql);
    const auto found = statements_.find(key);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, key.c_str(), static_cast<int>(key.size()), &statement, nullptr) !=
        SQLITE_OK) {
      problem_ = sqlite3_errmsg(db_);
      sqlite3_finalize(statement);
      return nullptr;
    }
    statements_[key] = statement;
    return statement;
  }

  sqlite3* db_;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
  std::string problem_;
};

// The folder (0700 when made here) and the file (0600), before SQLite opens it; SQLite gives its
// -wal and -shm files the mode of the database file.
bool PrepareFile(const std::string& path, std::string& problem) {
  // Each folder made here is the service's own; folders that exist are left as they are.
  std::filesystem::path folder;
  for (const auto& part : std::filesystem::path(path).parent_path()) {
    folder /= part;
    std::error_code missing;
    if (!std::filesystem::exists(folder, missing) && mkdir(folder.c_str(), 0700) != 0 &&
        errno != EEXIST) {
      problem = "cannot create " + folder.string() + ": " + std::strerror(errno);
      return false;
    }
  }
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    problem = std::strerror(errno);
    return false;
  }
  // A file from an earlier version may be readable by all; it is the service's own.
  struct stat status {};
  if (fstat(fd, &status) == 0 && (status.st_mode & 077) != 0) fchmod(fd, 0600);
  close(fd);
  return true;
}

std::unique_ptr<SqlSession> OpenSession(const std::string& path, bool writer,
                                        std::string& problem) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    problem = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  auto session = std::make_unique<SqliteSession>(db);
  // A committed entry must survive a power cut, not only a crash of the process.
  const char* setup = writer ? "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;"
                             : "PRAGMA query_only=1;";
  if (!session->Script(setup)) {
    problem = session->problem();
    return nullptr;
  }
  return session;
}

}  // namespace

std::unique_ptr<SqlDatabase> OpenSqlite(const std::string& path, std::string& problem) {
  if (!PrepareFile(path, problem)) return nullptr;
  auto database = std::make_unique<SqlDatabase>(
      SqlDialect::kSqlite,
      [path](bool writer, std::string& why) { return OpenSession(path, writer, why); }, 1);
  // The writer first: it turns WAL on before any reader opens the file.
  if (!database->Writer()) {
    problem = database->problem();
    return nullptr;
  }
  return database;
}

}  // namespace velora::server
