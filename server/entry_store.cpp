#include "server/entry_store.h"

#include <nlohmann/json.hpp>

#include <memory>

namespace velora::server {

namespace {

// The column of an order: "mark", or "t0" to "t9" for the tests in key order.
std::string ScoreColumn(int order) {
  return order == kOverall ? "mark" : "t" + std::to_string(order);
}

bool ValidOrder(int order) { return order >= kOverall && order < static_cast<int>(kTestCount); }

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
      statement_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return statement_ != nullptr; }
  void Bind(int index, const std::string& text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
  }
  void Bind(int index, int64_t number) { sqlite3_bind_int64(statement_, index, number); }
  void BindBlob(int index, const std::string& bytes) {
    sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
  }
  // SQLITE_ROW or SQLITE_DONE on success.
  int Step() { return ok() ? sqlite3_step(statement_) : SQLITE_ERROR; }
  int64_t Number(int column) { return sqlite3_column_int64(statement_, column); }
  std::string Text(int column) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return data == nullptr
               ? std::string()
               : std::string(data, static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

std::string PairsJson(const std::vector<FormPair>& pairs) {
  nlohmann::json list = nlohmann::json::array();
  for (const FormPair& pair : pairs) list.push_back({pair.key, pair.value});
  return list.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::vector<FormPair> PairsOfJson(const std::string& text) {
  std::vector<FormPair> pairs;
  const nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
  if (!list.is_array()) return pairs;
  for (const nlohmann::json& pair : list) {
    if (pair.is_array() && pair.size() == 2 && pair[0].is_string() && pair[1].is_string()) {
      pairs.push_back({pair[0].get<std::string>(), pair[1].get<std::string>()});
    }
  }
  return pairs;
}

std::string TestColumns(const char* suffix) {
  std::string columns;
  for (size_t t = 0; t < kTestCount; ++t) columns += ", t" + std::to_string(t) + suffix;
  return columns;
}

const std::string kEntryColumns =
    "id, created, user_name, machine, cpu_name, comment, mark" + TestColumns("") + ", pairs";

}  // namespace

EntryStore::~EntryStore() { sqlite3_close(db_); }

bool EntryStore::Execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  problem_ = message != nullptr ? message : sqlite3_errmsg(db_);
  sqlite3_free(message);
  return false;
}

bool EntryStore::Open(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    problem_ = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    return false;
  }
  sqlite3_busy_timeout(db_, 5000);
  const std::string schema =
      "CREATE TABLE IF NOT EXISTS entries ("
      " id INTEGER PRIMARY KEY AUTOINCREMENT, created INTEGER NOT NULL,"
      " user_name TEXT NOT NULL, machine TEXT NOT NULL, cpu_name TEXT NOT NULL,"
      " comment TEXT NOT NULL, password_hash TEXT NOT NULL, digest BLOB NOT NULL,"
      " mark INTEGER NOT NULL" +
      TestColumns(" INTEGER NOT NULL") +
      ", pairs TEXT NOT NULL);"
      "CREATE INDEX IF NOT EXISTS entries_machine ON entries (user_name, machine);"
      "CREATE INDEX IF NOT EXISTS entries_digest ON entries (digest);"
      "CREATE INDEX IF NOT EXISTS entries_mark ON entries (mark);";
  // A committed entry must survive a power cut, not only a crash of the process.
  return Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;") && Execute(schema.c_str());
}

std::optional<int64_t> EntryStore::Insert(const NewEntry& e) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Execute("BEGIN IMMEDIATE")) return std::nullopt;
  std::string sql =
      "INSERT INTO entries (created, user_name, machine, cpu_name, comment, password_hash,"
      " digest, mark" +
      TestColumns("") + ", pairs) VALUES (?, ?, ?, ?, ?, ?, ?, ?";
  for (size_t t = 0; t < kTestCount; ++t) sql += ", ?";
  sql += ", ?)";
  int64_t id = 0;
  {
    Statement insert(db_, sql);
    int column = 1;
    insert.Bind(column++, e.created);
    insert.Bind(column++, e.userName);
    insert.Bind(column++, e.machine);
    insert.Bind(column++, e.cpuName);
    insert.Bind(column++, e.comment);
    insert.Bind(column++, e.passwordHash);
    insert.BindBlob(column++, e.digest);
    insert.Bind(column++, e.mark);
    for (const int64_t score : e.tests) insert.Bind(column++, score);
    insert.Bind(column++, PairsJson(e.pairs));
    if (insert.Step() != SQLITE_DONE) {
      problem_ = sqlite3_errmsg(db_);
      Execute("ROLLBACK");
      return std::nullopt;
    }
    id = sqlite3_last_insert_rowid(db_);
  }
  if (!Execute("COMMIT")) {
    Execute("ROLLBACK");
    return std::nullopt;
  }
  return id;
}

bool EntryStore::Delete(int64_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Execute("BEGIN IMMEDIATE")) return false;
  Statement remove(db_, "DELETE FROM entries WHERE id = ?");
  remove.Bind(1, id);
  if (remove.Step() != SQLITE_DONE || sqlite3_changes(db_) != 1) {
    Execute("ROLLBACK");
    return false;
  }
  return Execute("COMMIT");
}

std::optional<StoredEntry> EntryStore::Find(int64_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, "SELECT " + kEntryColumns + " FROM entries WHERE id = ?");
  select.Bind(1, id);
  if (select.Step() != SQLITE_ROW) return std::nullopt;
  StoredEntry entry;
  int column = 0;
  entry.id = select.Number(column++);
  entry.created = select.Number(column++);
  entry.userName = select.Text(column++);
  entry.machine = select.Text(column++);
  entry.cpuName = select.Text(column++);
  entry.comment = select.Text(column++);
  entry.mark = select.Number(column++);
  for (int64_t& score : entry.tests) score = select.Number(column++);
  entry.pairs = PairsOfJson(select.Text(column));
  return entry;
}

std::vector<EntryKeys> EntryStore::Keys(const char* sql, const std::vector<std::string>& texts,
                                        int64_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_, std::string("SELECT id, created, password_hash, digest, comment FROM "
                                    "entries WHERE ") +
                            sql + " ORDER BY id");
  int column = 1;
  for (const std::string& text : texts) select.Bind(column++, text);
  select.Bind(column, number);
  std::vector<EntryKeys> found;
  while (select.Step() == SQLITE_ROW) {
    found.push_back(
        {select.Number(0), select.Number(1), select.Text(2), select.Text(3), select.Text(4)});
  }
  return found;
}

std::optional<EntryKeys> EntryStore::KeysOf(int64_t id) {
  std::vector<EntryKeys> found = Keys("id = ?", {}, id);
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::vector<EntryKeys> EntryStore::WithDigest(const std::string& digest, int64_t since) {
  // The digest is a blob; bound as text it would not compare equal.
  std::lock_guard<std::mutex> lock(mutex_);
  Statement select(db_,
                   "SELECT id, created, password_hash, digest, comment FROM entries"
                   " WHERE digest = ? AND created >= ? ORDER BY id");
  select.BindBlob(1, digest);
  select.Bind(2, since);
  std::vector<EntryKeys> found;
  while (select.Step() == SQLITE_ROW) {
    found.push_back(
        {select.Number(0), select.Number(1), select.Text(2), select.Text(3), select.Text(4)});
  }
  return found;
}

std::vector<EntryKeys> EntryStore::OfMachine(const std::string& userName,
                                             const std::string& machine) {
  return Keys("user_name = ? AND machine = ? AND id > ?", {userName, machine}, -1);
}

std::vector<RankRow> EntryStore::Ranking(int order, int64_t offset, int64_t limit) {
  std::vector<RankRow> rows;
  if (!ValidOrder(order)) return rows;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string column = ScoreColumn(order);
  Statement select(db_, "SELECT id, user_name, machine, cpu_name, " + column +
                            " FROM entries WHERE " + column + " > 0 ORDER BY " + column +
                            " DESC, id LIMIT ? OFFSET ?");
  select.Bind(1, limit);
  select.Bind(2, offset);
  while (select.Step() == SQLITE_ROW) {
    rows.push_back(
        {select.Number(0), select.Text(1), select.Text(2), select.Text(3), select.Number(4)});
  }
  return rows;
}

int64_t EntryStore::RankedCount(int order) {
  if (!ValidOrder(order)) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string column = ScoreColumn(order);
  Statement count(db_, "SELECT COUNT(*) FROM entries WHERE " + column + " > 0");
  return count.Step() == SQLITE_ROW ? count.Number(0) : 0;
}

int64_t EntryStore::PlaceOf(int64_t id, int order) {
  if (!ValidOrder(order)) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string column = ScoreColumn(order);
  // Better scores come first, and equal scores by number, as the ranking lists them.
  Statement place(db_, "SELECT (SELECT COUNT(*) FROM entries o WHERE o." + column + " > e." +
                           column + " OR (o." + column + " = e." + column +
                           " AND o.id < e.id)) + 1 FROM entries e WHERE e.id = ? AND e." + column +
                           " > 0");
  place.Bind(1, id);
  return place.Step() == SQLITE_ROW ? place.Number(0) : 0;
}

}  // namespace velora::server
