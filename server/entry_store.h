#pragma once
// The entries of the ranking in one SQLite file. Every write is one transaction, committed with
// a full sync, so a crash loses nothing that was answered with an entry number. One process
// owns the file; its threads share this object.

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/form_body.h"

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

struct StoredEntry {
  int64_t id = 0;
  int64_t created = 0;
  std::string userName, machine, cpuName, comment;
  int64_t mark = 0;
  std::array<int64_t, kTestCount> tests{};
  std::vector<FormPair> pairs;
};

// What the duplicate and same-machine rules need of an earlier entry.
struct EntryKeys {
  int64_t id = 0;
  int64_t created = 0;
  std::string passwordHash, digest, comment;
};

struct RankRow {
  int64_t id = 0;
  std::string userName, machine, cpuName;
  int64_t score = 0;
};

// Which score orders a ranking: the overall mark, or test 0 to 9.
constexpr int kOverall = -1;

class EntryStore {
 public:
  EntryStore() = default;
  ~EntryStore();
  EntryStore(const EntryStore&) = delete;
  EntryStore& operator=(const EntryStore&) = delete;

  // Opens or creates the file; false with problem() set when it cannot.
  bool Open(const std::string& path);
  const std::string& problem() const { return problem_; }

  // The new entry's number, or nothing when the write failed.
  std::optional<int64_t> Insert(const NewEntry& entry);
  bool Delete(int64_t id);
  std::optional<StoredEntry> Find(int64_t id);
  std::optional<EntryKeys> KeysOf(int64_t id);
  std::vector<EntryKeys> WithDigest(const std::string& digest, int64_t since);
  std::vector<EntryKeys> OfMachine(const std::string& userName, const std::string& machine);

  // Entries with a score above 0 in that order, best first (ties by number).
  std::vector<RankRow> Ranking(int order, int64_t offset, int64_t limit);
  int64_t RankedCount(int order);
  // 1-based place of an entry in that order; 0 when it has no score there.
  int64_t PlaceOf(int64_t id, int order);

 private:
  bool Execute(const char* sql);
  std::vector<EntryKeys> Keys(const char* sql, const std::vector<std::string>& texts,
                              int64_t number);

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  std::string problem_;
};

}  // namespace velora::server
