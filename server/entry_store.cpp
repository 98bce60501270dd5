#include "server/entry_store.h"

#include "server/cpu_vendor.h"
#include "server/store_schema.h"
#include "server/stored_pairs.h"

namespace velora::server {

namespace {

std::string TestColumns() {
  std::string columns;
  for (size_t t = 0; t < kTestCount; ++t) columns += ", t" + std::to_string(t);
  return columns;
}

// The rules' match: the same body within the window, or the same machine.
const std::string kEarlierMatch =
    "((digest = ? AND created >= ?) OR (user_name = ? AND machine = ?))";

std::string InsertSql() {
  std::string sql =
      "INSERT INTO entries (created, user_name, machine, cpu_name, comment, password_hash,"
      " digest, mark" +
      TestColumns() + ", pairs, cpu_vendor, country) VALUES (?, ?, ?, ?, ?, ?, ?, ?";
  for (size_t t = 0; t < kTestCount; ++t) sql += ", ?";
  return sql + ", ?, ?, ?) RETURNING id";
}

std::vector<SqlValue> InsertParams(const NewEntry& e) {
  std::vector<SqlValue> params = {e.created, e.userName, e.machine, e.cpuName,
                                  e.comment, e.passwordHash, SqlBytes{e.digest}, e.mark};
  for (const int64_t score : e.tests) params.emplace_back(score);
  params.emplace_back(PairsJson(e.pairs));
  params.emplace_back(CpuVendorOf(FieldOf(e.pairs, "VendorString"), e.cpuName));
  params.emplace_back(FieldOf(e.pairs, "Country"));
  return params;
}

int64_t ScoreOf(const std::array<int64_t, kTestCount>& tests, int64_t mark, int order) {
  return order == kOverall ? mark : tests[static_cast<size_t>(order)];
}

// The kept totals after one entry with these scores came (+1) or went (-1).
bool UpdateTotals(SqlSession& session, const std::array<int64_t, kTestCount>& tests, int64_t mark,
                  int change) {
  for (int order = kOverall; order < static_cast<int>(kTestCount); ++order) {
    const int64_t score = ScoreOf(tests, mark, order);
    if (score <= 0) continue;
    const std::string column = ScoreColumn(order);
    const bool ok =
        change > 0
            ? session.Execute("UPDATE ranking_totals SET ranked = ranked + 1, best = CASE WHEN "
                              "best < ? THEN ? ELSE best END WHERE score_order = ?",
                              {score, score, int64_t{order}})
            : session.Execute("UPDATE ranking_totals SET ranked = ranked - 1, best = COALESCE("
                              "(SELECT MAX(" + column + ") FROM entries WHERE " + column +
                                  " > 0), 0) WHERE score_order = ?",
                              {int64_t{order}});
    if (!ok) return false;
  }
  return session.Execute("UPDATE ranking_state SET generation = generation + 1 WHERE id = 1");
}

}  // namespace

bool EntryStore::Open(const std::string& where) {
  database_ = OpenSqlDatabase(where, problem_);
  if (!database_) return false;
  SqlLease writer = database_->Writer();
  return writer && MigrateSchema(*writer, database_->dialect(), problem_);
}

WriteOutcome EntryStore::InsertAfter(const NewEntry& entry, int64_t since, int64_t seen,
                                     int64_t& id, std::string& problem) {
  SqlLease writer = database_->Writer();
  if (!writer) {
    problem = database_->problem();
    return WriteOutcome::kFailed;
  }
  SqlSession& session = *writer;
  const auto fail = [&] {
    problem = session.problem();
    session.Execute("ROLLBACK");
    return WriteOutcome::kFailed;
  };
  if (!BeginWrite(session, database_->dialect())) return fail();
  if (seen >= 0) {
    const std::optional<SqlRows> newer = session.Query(
        "SELECT id FROM entries WHERE id > ? AND " + kEarlierMatch + " LIMIT 1",
        {seen, SqlBytes{entry.digest}, since, entry.userName, entry.machine});
    if (!newer) return fail();
    if (!newer->empty()) {
      session.Execute("ROLLBACK");
      return WriteOutcome::kEarlierArrived;
    }
  }
  const std::optional<SqlRows> inserted = session.Query(InsertSql(), InsertParams(entry));
  if (!inserted || inserted->empty()) return fail();
  id = inserted->Number(0, 0);
  if (!UpdateTotals(session, entry.tests, entry.mark, +1) || !session.Execute("COMMIT"))
    return fail();
  return WriteOutcome::kDone;
}

std::optional<int64_t> EntryStore::Insert(const NewEntry& entry) {
  int64_t id = 0;
  std::string problem;
  if (InsertAfter(entry, 0, -1, id, problem) != WriteOutcome::kDone) return std::nullopt;
  return id;
}

bool EntryStore::InsertAll(const std::vector<NewEntry>& entries, std::string& problem) {
  SqlLease writer = database_->Writer();
  if (!writer) {
    problem = database_->problem();
    return false;
  }
  bool ok = BeginWrite(*writer, database_->dialect());
  for (size_t i = 0; ok && i < entries.size(); ++i) {
    ok = writer->Execute(InsertSql(), InsertParams(entries[i])) &&
         UpdateTotals(*writer, entries[i].tests, entries[i].mark, +1);
  }
  if (ok && writer->Execute("COMMIT")) return true;
  problem = writer->problem();
  writer->Execute("ROLLBACK");
  return false;
}

WriteOutcome EntryStore::Delete(int64_t id, std::string& problem) {
  SqlLease writer = database_->Writer();
  if (!writer) {
    problem = database_->problem();
    return WriteOutcome::kFailed;
  }
  SqlSession& session = *writer;
  const auto fail = [&] {
    problem = session.problem();
    session.Execute("ROLLBACK");
    return WriteOutcome::kFailed;
  };
  if (!BeginWrite(session, database_->dialect())) return fail();
  const std::optional<SqlRows> scores =
      session.Query("SELECT mark" + TestColumns() + " FROM entries WHERE id = ?", {id});
  if (!scores) return fail();
  if (scores->empty()) {
    session.Execute("ROLLBACK");
    return WriteOutcome::kMissing;
  }
  std::array<int64_t, kTestCount> tests{};
  for (size_t t = 0; t < kTestCount; ++t) tests[t] = scores->Number(0, t + 1);
  if (!session.Execute("DELETE FROM entries WHERE id = ?", {id}) ||
      !UpdateTotals(session, tests, scores->Number(0, 0), -1) || !session.Execute("COMMIT")) {
    return fail();
  }
  return WriteOutcome::kDone;
}

std::optional<std::vector<EntryKeys>> EntryStore::Earlier(const NewEntry& entry, int64_t since,
                                                          int64_t after, int64_t limit) {
  SqlLease reader = database_->Reader();
  if (!reader) return std::nullopt;
  const std::optional<SqlRows> rows = reader->Query(
      "SELECT id, created, password_hash, comment,"
      " CASE WHEN digest = ? AND created >= ? THEN 1 ELSE 0 END,"
      " CASE WHEN user_name = ? AND machine = ? THEN 1 ELSE 0 END"
      " FROM entries WHERE id > ? AND " +
          kEarlierMatch + " ORDER BY id DESC LIMIT ?",
      {SqlBytes{entry.digest}, since, entry.userName, entry.machine, after,
       SqlBytes{entry.digest}, since, entry.userName, entry.machine, limit});
  if (!rows) return std::nullopt;
  std::vector<EntryKeys> found;
  for (size_t r = 0; r < rows->size(); ++r) {
    found.push_back({rows->Number(r, 0), rows->Number(r, 1), rows->Text(r, 2), rows->Text(r, 3),
                     rows->Number(r, 4) == 1, rows->Number(r, 5) == 1});
  }
  return found;
}

std::optional<EntryKeys> EntryStore::KeysOf(int64_t id) {
  SqlLease reader = database_->Reader();
  if (!reader) return std::nullopt;
  const std::optional<SqlRows> rows =
      reader->Query("SELECT id, created, password_hash, comment FROM entries WHERE id = ?", {id});
  if (!rows || rows->empty()) return std::nullopt;
  return EntryKeys{rows->Number(0, 0), rows->Number(0, 1), rows->Text(0, 2), rows->Text(0, 3)};
}

int64_t EntryStore::Generation() {
  SqlLease reader = database_->Reader();
  if (!reader) return -1;
  const std::optional<SqlRows> rows =
      reader->Query("SELECT generation FROM ranking_state WHERE id = 1");
  return rows && !rows->empty() ? rows->Number(0, 0) : -1;
}

}  // namespace velora::server
