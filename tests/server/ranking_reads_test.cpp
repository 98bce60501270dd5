#include "server/ranking_reads.h"

#include <gtest/gtest.h>

#include "tests/server/reads_fixture.h"

namespace velora::testing {
namespace {

using server::kOverallOrder;
using server::ListQuery;
using server::ListSort;

// Overall (mark above 0, best first, ties by number): 4, 2, 1, 3, 6; entry 5 has no mark.
// ALU: 3, 4, 1, 6, 5; entry 2 has no ALU score.
const Row kRows[] = {
    {"Ann", "Box", "Core 2 Duo E6600", 5000, 300, 100, "JP", "GenuineIntel"},
    {"Bob", "Rig", "Athlon 64 X2 4800+", 7000, 0, 200, "US", "AuthenticAMD"},
    {"Cid", "Box", "Core 2 Duo E6600", 5000, 500, 300, "JP", ""},
    {"Dee", "Lab_1", "Ryzen 7 5800X", 9000, 400, 400, "DE", ""},
    {"Eve", "50%", "Core 2 Duo E6600", 0, 100, 500, "JP", ""},
    {"Fay", "Core", "Pentium 4", 1000, 200, 600, "US", ""},
};

class RankingReadsTest : public ReadsFixture {
 protected:
  void SetUp() override {
    ReadsFixture::SetUp();
    for (const Row& row : kRows) ASSERT_GT(Add(row), 0);
  }
  server::EntryView Entry(int64_t id) { return reads_->Find(id).value(); }
};

std::vector<int64_t> Ids(const server::ListPage& page) {
  std::vector<int64_t> ids;
  for (const server::ListedEntry& e : page.entries) ids.push_back(e.id);
  return ids;
}

TEST_F(RankingReadsTest, ListsSearchFilterAndSort) {
  const struct {
    int order;
    const char *text, *vendor, *country;
    ListSort sort;
    int64_t offset, limit, total;
    std::vector<int64_t> ids;
  } cases[] = {
      {kOverallOrder, "", "", "", ListSort::kScore, 0, 50, 5, {4, 2, 1, 3, 6}},
      {0, "", "", "", ListSort::kScore, 0, 50, 5, {3, 4, 1, 6, 5}},
      {kOverallOrder, "core 2", "", "", ListSort::kScore, 0, 50, 2, {1, 3}},
      // A CPU's name and a machine's.
      {kOverallOrder, "CORE", "", "", ListSort::kScore, 0, 50, 3, {1, 3, 6}},
      // Taken as itself, not as a wildcard.
      {kOverallOrder, "_", "", "", ListSort::kScore, 0, 50, 1, {4}},
      {kOverallOrder, "%", "", "", ListSort::kScore, 0, 50, 0, {}},  // 5 has no mark
      {0, "%", "", "", ListSort::kScore, 0, 50, 1, {5}},
      {kOverallOrder, "ann", "", "", ListSort::kScore, 0, 50, 1, {1}},
      {kOverallOrder, "", "AMD", "", ListSort::kScore, 0, 50, 2, {4, 2}},
      // 3 and 6 by their names.
      {kOverallOrder, "", "Intel", "", ListSort::kScore, 0, 50, 3, {1, 3, 6}},
      {kOverallOrder, "", "", "JP", ListSort::kScore, 0, 50, 2, {1, 3}},
      {kOverallOrder, "", "AMD", "JP", ListSort::kScore, 0, 50, 0, {}},
      {kOverallOrder, "", "", "", ListSort::kNewest, 0, 50, 5, {6, 4, 3, 2, 1}},
      {kOverallOrder, "", "", "", ListSort::kScore, 2, 2, 5, {1, 3}},
  };
  for (const auto& c : cases) {
    ListQuery query;
    query.order = c.order;
    query.text = c.text;
    query.vendor = c.vendor;
    query.country = c.country;
    query.sort = c.sort;
    query.offset = c.offset;
    query.limit = c.limit;
    const server::ListPage page = reads_->List(query);
    EXPECT_EQ(page.total, c.total) << c.text << c.vendor << c.country;
    EXPECT_EQ(Ids(page), c.ids) << c.text << c.vendor << c.country;
    if (c.offset == 2) {
      EXPECT_EQ(page.entries.at(0).place, 3);
      EXPECT_EQ(page.entries.at(1).place, 4);
    }
  }
  EXPECT_EQ(reads_->Vendors(), (std::vector<std::string>{"AMD", "Intel"}));
  EXPECT_EQ(reads_->Countries(), (std::vector<std::string>{"DE", "JP", "US"}));
}

TEST_F(RankingReadsTest, PlacesAndNeighboursFollowTheRankingTiesByNumber) {
  const struct {
    int64_t id;
    int order, count;
    int64_t place;
    std::vector<int64_t> around;
    int64_t firstPlace;
  } cases[] = {
      {1, kOverallOrder, 1, 3, {2, 1, 3}, 2},
      {3, kOverallOrder, 1, 4, {1, 3, 6}, 3},  // the tie with 1 puts it after 1
      {4, kOverallOrder, 2, 1, {4, 2, 1}, 1},
      {6, kOverallOrder, 2, 5, {1, 3, 6}, 3},
      {5, kOverallOrder, 5, 0, {}, 0},         // no mark, no place
      {3, 0, 5, 1, {3, 4, 1, 6, 5}, 1},
      {2, 0, 5, 0, {}, 0},
  };
  for (const auto& c : cases) {
    const server::EntryView entry = Entry(c.id);
    EXPECT_EQ(reads_->PlaceOf(entry, c.order), c.place) << c.id << " " << c.order;
    const std::vector<server::ListedEntry> around = reads_->Around(entry, c.order, c.count);
    std::vector<int64_t> ids;
    for (size_t i = 0; i < around.size(); ++i) {
      ids.push_back(around[i].id);
      EXPECT_EQ(around[i].place, c.firstPlace + static_cast<int64_t>(i));
    }
    EXPECT_EQ(ids, c.around) << c.id << " " << c.order;
  }
}

TEST_F(RankingReadsTest, CountsSpreadAndMediansOfACpu) {
  const server::PerOrder counts = reads_->RankedCounts();
  EXPECT_EQ(counts[0], 5);  // overall
  EXPECT_EQ(counts[1], 5);  // ALU
  EXPECT_EQ(counts[2], 0);  // FPU
  // Best 9000 in 4 buckets of 9000 / 4 + 1 = 2251: 1000 | - | 5000 5000 | 7000 9000.
  const std::vector<server::Bucket> spread = reads_->Distribution(kOverallOrder, 4);
  ASSERT_EQ(spread.size(), 4u);
  const int64_t expected[] = {1, 0, 2, 2};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(spread[i].count, expected[i]) << i;
    EXPECT_EQ(spread[i].low, static_cast<int64_t>(i) * 2251);
  }
  // Entries 1, 3 and 5: marks 5000, 5000 (5's 0 left out); ALU 300, 500, 100.
  const server::CpuMedians medians = reads_->MediansOfCpu("Core 2 Duo E6600");
  EXPECT_EQ(medians.entries, 3);
  EXPECT_EQ(medians.median[0], 5000);
  EXPECT_EQ(medians.median[1], 300);
  EXPECT_EQ(medians.median[2], 0);
  EXPECT_EQ(reads_->MediansOfCpu("Pentium 4").median[0], 1000);
}

TEST_F(RankingReadsTest, AnEntryNeverCarriesItsMailAddress) {
  const server::EntryView entry = Entry(2);
  EXPECT_EQ(entry.cpuVendor, "AMD");
  EXPECT_EQ(entry.country, "US");
  EXPECT_EQ(entry.Field("UserName"), "Bob");
  EXPECT_EQ(entry.Field("Mail"), "");
  EXPECT_FALSE(reads_->Find(7));
}

// A database from before the derived columns: the store adds them, the read side fills them from
// each entry's pairs, and the filters and totals take in the old entries.
TEST(RankingReadsMigration, AnOlderDatabaseGetsVendorAndCountryFromThePairs) {
  TempFolder folder;
  const std::string where = FreshDatabase(folder, "old.sqlite");
  const struct {
    int64_t id;
    const char* cpu;
    const char* pairs;
    const char* vendor;
    const char* country;
  } kOld[] = {
      // The vendor string outweighs the name; without one the name tells; else "Other".
      {1, "Athlon 64 X2 4800+", R"([["Country","US"],["VendorString","GenuineIntel"]])", "Intel", "US"},
      {2, "Core 2 Duo E6600", R"([["Country","JP"]])", "Intel", "JP"},
      {3, "Mystery 1", R"([["Country","DE"],["VendorString","CentaurHauls"]])", "VIA", "DE"},
      {4, "Mystery 2", "not a list", "Other", ""},
  };
  {
    std::string problem;
    const auto database = server::OpenSqlDatabase(where, problem);
    ASSERT_TRUE(database) << problem;
    server::SqlLease writer = database->Writer();
    std::string columns =
        "id BIGINT PRIMARY KEY, created BIGINT NOT NULL, user_name TEXT NOT NULL, machine TEXT NOT "
        "NULL, cpu_name TEXT NOT NULL, comment TEXT NOT NULL, password_hash TEXT NOT NULL, digest "
        "TEXT NOT NULL, mark BIGINT NOT NULL";
    std::string marks;
    for (int t = 0; t < 10; ++t) {
      columns += ", t" + std::to_string(t) + " BIGINT NOT NULL";
      marks += ", 0";
    }
    ASSERT_TRUE(writer->Script("CREATE TABLE entries (" + columns + ", pairs TEXT NOT NULL)"))
        << writer->problem();
    for (const auto& old : kOld) {
      ASSERT_TRUE(writer->Execute(
          "INSERT INTO entries VALUES (?, 1, 'u', 'm', ?, '', 'h', 'd', ?" + marks + ", ?)",
          {old.id, std::string(old.cpu), old.id * 1000, std::string(old.pairs)}))
          << writer->problem();
    }
  }
  server::EntryStore store;
  ASSERT_TRUE(store.Open(where)) << store.problem();
  server::RankingReads reads(std::make_unique<server::SessionRunner>(store.database()));
  std::string problem;
  ASSERT_TRUE(reads.Prepare(problem)) << problem;
  for (const auto& old : kOld) {
    const std::optional<server::EntryView> entry = reads.Find(old.id);
    ASSERT_TRUE(entry) << old.id;
    EXPECT_EQ(entry->cpuVendor, old.vendor) << old.id;
    EXPECT_EQ(entry->country, old.country) << old.id;
  }
  ListQuery intel;
  intel.vendor = "Intel";
  EXPECT_EQ(Ids(reads.List(intel)), (std::vector<int64_t>{2, 1}));
  ListQuery german;
  german.country = "DE";
  EXPECT_EQ(Ids(reads.List(german)), (std::vector<int64_t>{3}));
  // The totals were counted once from the old entries: four marks, the best 4000.
  EXPECT_EQ(reads.RankedCounts()[0], 4);
  const std::vector<server::Bucket> spread = reads.Distribution(kOverallOrder, 4);
  ASSERT_FALSE(spread.empty());
  EXPECT_EQ(spread.back().high, 4 * (4000 / 4 + 1));
}

}  // namespace
}  // namespace velora::testing
