#pragma once
// The entries of the ranking, in SQLite or PostgreSQL. Every write is one transaction, committed
// before its answer goes out, so a crash loses nothing that was answered with an entry number.
// Writes take turns (a transaction on SQLite, an advisory lock on PostgreSQL), so entry numbers
// grow in the order of their commits, also across services sharing one database. Reads never
// wait for a write. Counts and best scores per order are kept as each write commits.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/form_body.h"
#include "server/sql_database.h"

namespace velora::server {

constexpr size_t kTestCount = 10;

struct NewEntry {
  int64_t created = 0;  // seconds since 1970
  std::string userName, machine, cpuName, comment;
  std::string passwordHash;
  std::string digest;  // of the body without its password
  int64_t mark = 0;
  std::array<int64_t, kTestCount> tests{};
  std::vector<FormPair> pairs;  // without the password
};

// What the duplicate and same-machine rules need of an earlier entry.
struct EntryKeys {
  int64_t id = 0;
  int64_t created = 0;
  std::string passwordHash, comment;
  bool sameBody = false;  // the same digest, within the window asked for
  bool sameMachine = false;  // the same user name and machine
};

// The overall mark's order in ranking_totals; tests are 0 to 9.
constexpr int kOverall = -1;

enum class WriteOutcome {
  kDone,
  kEarlierArrived,  // an entry the rules must see came after the ones they saw; nothing written
  kMissing,  // no such entry to delete
  kFailed,  // the database refused; the reason is given
};

class EntryStore {
 public:
  EntryStore() = default;
  EntryStore(const EntryStore&) = delete;
  EntryStore& operator=(const EntryStore&) = delete;

  // Opens (a SQLite file, or postgresql://...), creates or brings up to date the schema; false
  // with problem() set when it cannot.
  bool Open(const std::string& where);
  const std::string& problem() const { return problem_; }
  SqlDatabase& database() { return *database_; }

  // Adds the entry unless an entry of the same body (created at `since` or later) or of the same
  // machine has a number above `seen`. `id` gets the new number.
  WriteOutcome InsertAfter(const NewEntry& entry, int64_t since, int64_t seen, int64_t& id,
                           std::string& problem);
  // Adds the entry whatever came before; nothing when the write failed.
  std::optional<int64_t> Insert(const NewEntry& entry);
  // Adds them all in one transaction (filling a database for a benchmark).
  bool InsertAll(const std::vector<NewEntry>& entries, std::string& problem);
  WriteOutcome Delete(int64_t id, std::string& problem);

  // Entries of the same body (created at `since` or later) or of the same machine numbered above
  // `after`, newest first, at most `limit`; nothing when the read failed.
  std::optional<std::vector<EntryKeys>> Earlier(const NewEntry& entry, int64_t since,
                                                int64_t after, int64_t limit);
  std::optional<EntryKeys> KeysOf(int64_t id);
  // Grows with every write, here or in another service on the same database.
  int64_t Generation();

 private:
  std::unique_ptr<SqlDatabase> database_;
  std::string problem_;
};

}  // namespace velora::server
