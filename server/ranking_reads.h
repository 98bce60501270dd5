#pragma once
// Everything the site reads from the ranking: pages of a listing (search, filters, a test's
// order, newest first), an entry, its places and neighbours, the spread of scores and the
// medians of a processor. The SQL is written once, here, for any backend's SqlRunner; the
// columns, indexes and totals it relies on are the store's schema.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/form_body.h"
#include "server/sql_runner.h"

namespace velora::server {

inline constexpr size_t kSiteTestCount = 10;
// The order of a ranking: the overall mark, or test 0 to 9 in body order.
inline constexpr int kOverallOrder = -1;

enum class ListSort { kScore, kNewest };

struct ListQuery {
  int order = kOverallOrder;
  std::string text;  // a part of the CPU name, user name or machine name, case-blind
  std::string vendor, country;  // "" for any
  ListSort sort = ListSort::kScore;
  int64_t offset = 0, limit = 50;
};

struct ListedEntry {
  int64_t id = 0, created = 0;
  std::string userName, machine, cpuName, cpuVendor, country;
  int64_t score = 0;  // in the listing's order
  int64_t place = 0;  // 1-based, in the listing's order
};

struct ListPage {
  int64_t total = 0;
  std::vector<ListedEntry> entries;
};

// An entry as any page may show it: never the mail address, the password or its hash.
struct EntryView {
  int64_t id = 0, created = 0;
  std::string userName, machine, cpuName, cpuVendor, country, comment;
  int64_t mark = 0;
  std::array<int64_t, kSiteTestCount> tests{};
  std::vector<FormPair> fields;
  std::string Field(const std::string& key) const;
  int64_t Score(int order) const { return order == kOverallOrder ? mark : tests.at(static_cast<size_t>(order)); }
};

// Scores from low up to, not including, high.
struct Bucket {
  int64_t low = 0, high = 0, count = 0;
};

// Per order: [0] the overall mark, [1 + t] test t.
using PerOrder = std::array<int64_t, kSiteTestCount + 1>;
inline size_t Slot(int order) { return static_cast<size_t>(order + 1); }

struct CpuMedians {
  int64_t entries = 0;  // of that CPU
  PerOrder median{};    // 0 where none has a score
};

class RankingReads {
 public:
  explicit RankingReads(std::unique_ptr<SqlRunner> runner) : runner_(std::move(runner)) {}

  // Checks the derived columns are there and fills them in rows stored before they were; false
  // with problem set.
  bool Prepare(std::string& problem);

  ListPage List(const ListQuery& query);
  std::optional<EntryView> Find(int64_t id);
  // 1-based place of the entry in that order, 0 when it has no score there.
  int64_t PlaceOf(const EntryView& entry, int order);
  // Entries with a score above 0, per order.
  PerOrder RankedCounts();
  // Up to count entries above the entry, the entry, and up to count below, best first, with
  // their places; empty when it has no score there.
  std::vector<ListedEntry> Around(const EntryView& entry, int order, int count);
  // The scores above 0 of that order in at most `buckets` equal ranges from 0 to the best.
  std::vector<Bucket> Distribution(int order, int buckets);
  CpuMedians MediansOfCpu(const std::string& cpuName);
  std::vector<std::string> Vendors();
  std::vector<std::string> Countries();

 private:
  // The vendor and country of entries stored before they were known, derived from the pairs.
  void FillDerived();
  std::vector<SqlTextRow> Rows(const SqlStatement& statement);
  std::vector<std::string> Distinct(const char* column);

  std::unique_ptr<SqlRunner> runner_;
  std::mutex filling_;
};

}  // namespace velora::server
