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

}  // namespace
}  // namespace velora::testing
