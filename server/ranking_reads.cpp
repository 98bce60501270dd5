#include "server/ranking_reads.h"

#include <algorithm>

#include "server/cpu_vendor.h"
#include "server/stored_pairs.h"

namespace velora::server {

// Every statement is standard SQL that SQLite and PostgreSQL both run: no functions but LOWER
// and COUNT, LIKE with an explicit ESCAPE, LIMIT/OFFSET, and scalar subqueries. Counts and best
// scores per order come from ranking_totals, which every write of the store keeps.

namespace {

// Trusted names only ever reach the SQL text: "mark" or "t0" to "t9".
std::string ScoreColumn(int order) {
  return order == kOverallOrder ? "mark" : "t" + std::to_string(order);
}

bool ValidOrder(int order) {
  return order >= kOverallOrder && order < static_cast<int>(kSiteTestCount);
}

std::string AllScoreColumns() {
  std::string columns = "mark";
  for (size_t t = 0; t < kSiteTestCount; ++t) columns += ", t" + std::to_string(t);
  return columns;
}

const std::string kListed = "id, created, user_name, machine, cpu_name, cpu_vendor, country, ";

ListedEntry ListedOf(const SqlTextRow& row) {
  return {NumberAt(row, 0), NumberAt(row, 1), TextAt(row, 2), TextAt(row, 3), TextAt(row, 4),
          TextAt(row, 5),   TextAt(row, 6),   NumberAt(row, 7), 0};
}

// The LIKE pattern of a part of a text: its wildcards taken as themselves.
std::string ContainsPattern(const std::string& text) {
  std::string pattern = "%";
  for (const char c : text) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

// The conditions of a listing and their parameters, shared by its page and its count.
SqlStatement Where(const ListQuery& query) {
  SqlStatement where{" WHERE " + ScoreColumn(query.order) + " > 0", {}};
  if (!query.text.empty()) {
    where.text +=
        " AND (LOWER(cpu_name) LIKE LOWER(?) ESCAPE '\\' OR LOWER(user_name) LIKE LOWER(?) ESCAPE"
        " '\\' OR LOWER(machine) LIKE LOWER(?) ESCAPE '\\')";
    const std::string pattern = ContainsPattern(query.text);
    where.params.insert(where.params.end(), {pattern, pattern, pattern});
  }
  if (!query.vendor.empty()) {
    where.text += " AND cpu_vendor = ?";
    where.params.emplace_back(query.vendor);
  }
  if (!query.country.empty()) {
    where.text += " AND country = ?";
    where.params.emplace_back(query.country);
  }
  return where;
}

int64_t Median(std::vector<int64_t> scores) {
  if (scores.empty()) return 0;
  std::sort(scores.begin(), scores.end());
  const size_t middle = scores.size() / 2;
  return scores.size() % 2 == 1 ? scores[middle] : (scores[middle - 1] + scores[middle]) / 2;
}

}  // namespace

std::string EntryView::Field(const std::string& key) const { return FieldOf(fields, key); }

std::vector<SqlTextRow> RankingReads::Rows(const SqlStatement& statement) {
  return runner_->Run(statement).value_or(std::vector<SqlTextRow>());
}

bool RankingReads::Prepare(std::string& problem) {
  // The store made the derived columns; without them no listing could be read.
  if (!runner_->Run({"SELECT cpu_vendor, country FROM entries WHERE id = 0", {}})) {
    problem = "the entries have no cpu_vendor and country columns";
    return false;
  }
  FillDerived();
  return true;
}

void RankingReads::FillDerived() {
  std::lock_guard<std::mutex> lock(filling_);
  constexpr int64_t kBatch = 500;
  for (;;) {
    const std::vector<SqlTextRow> rows = Rows(
        {"SELECT id, pairs, cpu_name FROM entries WHERE cpu_vendor IS NULL ORDER BY id LIMIT ?",
         {kBatch}});
    if (rows.empty()) return;
    std::vector<SqlStatement> updates;
    for (const SqlTextRow& row : rows) {
      const std::vector<FormPair> pairs = PairsOfJson(TextAt(row, 1));
      updates.push_back({"UPDATE entries SET cpu_vendor = ?, country = ? WHERE id = ?",
                         {CpuVendorOf(FieldOf(pairs, "VendorString"), TextAt(row, 2)),
                          FieldOf(pairs, "Country"), NumberAt(row, 0)}});
    }
    // A write that fails (the file busy past its timeout) is tried again at the next read.
    if (!runner_->RunTogether(updates) || static_cast<int64_t>(rows.size()) < kBatch) return;
  }
}

ListPage RankingReads::List(const ListQuery& query) {
  ListPage page;
  if (!ValidOrder(query.order)) return page;
  FillDerived();
  const std::string column = ScoreColumn(query.order);
  const SqlStatement where = Where(query);
  const std::vector<SqlTextRow> count = Rows({"SELECT COUNT(*) FROM entries" + where.text, where.params});
  page.total = count.empty() ? 0 : NumberAt(count.front(), 0);
  SqlStatement select{"SELECT " + kListed + column + " FROM entries" + where.text +
                          (query.sort == ListSort::kNewest ? " ORDER BY created DESC, id DESC"
                                                           : " ORDER BY " + column + " DESC, id") +
                          " LIMIT ? OFFSET ?",
                      where.params};
  select.params.insert(select.params.end(), {query.limit, query.offset});
  int64_t place = query.offset;
  for (const SqlTextRow& row : Rows(select)) {
    page.entries.push_back(ListedOf(row));
    page.entries.back().place = ++place;
  }
  return page;
}

std::optional<EntryView> RankingReads::Find(int64_t id) {
  FillDerived();
  const std::vector<SqlTextRow> rows =
      Rows({"SELECT id, created, user_name, machine, cpu_name, cpu_vendor, country, comment, " +
                AllScoreColumns() + ", pairs FROM entries WHERE id = ?",
            {id}});
  if (rows.empty()) return std::nullopt;
  const SqlTextRow& row = rows.front();
  EntryView entry;
  size_t column = 0;
  entry.id = NumberAt(row, column++);
  entry.created = NumberAt(row, column++);
  for (std::string* text : {&entry.userName, &entry.machine, &entry.cpuName, &entry.cpuVendor,
                            &entry.country, &entry.comment}) {
    *text = TextAt(row, column++);
  }
  entry.mark = NumberAt(row, column++);
  for (int64_t& score : entry.tests) score = NumberAt(row, column++);
  entry.fields = PairsOfJson(TextAt(row, column));
  // The store keeps the mail address for its owner; no page or reply carries it.
  std::erase_if(entry.fields,
                [](const FormPair& pair) { return pair.key == "Mail" || pair.key == "Password"; });
  return entry;
}

int64_t RankingReads::PlaceOf(const EntryView& entry, int order) {
  if (!ValidOrder(order) || entry.Score(order) <= 0) return 0;
  const std::string column = ScoreColumn(order);
  const int64_t score = entry.Score(order);
  // Better scores come first, equal scores by number: two counts, each a range of its index.
  const std::vector<SqlTextRow> rows =
      Rows({"SELECT (SELECT COUNT(*) FROM entries WHERE " + column + " > ?) + (SELECT COUNT(*) "
            "FROM entries WHERE " + column + " = ? AND id < ?)",
            {score, score, entry.id}});
  return rows.empty() ? 0 : NumberAt(rows.front(), 0) + 1;
}

PerOrder RankingReads::RankedCounts() {
  PerOrder counts{};
  for (const SqlTextRow& row : Rows({"SELECT score_order, ranked FROM ranking_totals", {}})) {
    const int64_t order = NumberAt(row, 0);
    if (ValidOrder(static_cast<int>(order))) counts[Slot(static_cast<int>(order))] = NumberAt(row, 1);
  }
  return counts;
}

std::vector<ListedEntry> RankingReads::Around(const EntryView& entry, int order, int count) {
  const int64_t place = PlaceOf(entry, order);
  if (place == 0) return {};
  const std::string column = ScoreColumn(order);
  const int64_t score = entry.Score(order);
  const auto rows = [&](const std::string& where, const std::string& orderBy,
                        std::vector<SqlParam> params) {
    params.emplace_back(int64_t{count});
    std::vector<ListedEntry> found;
    for (const SqlTextRow& row : Rows({"SELECT " + kListed + column + " FROM entries WHERE " + where +
                                       " ORDER BY " + orderBy + " LIMIT ?",
                                   std::move(params)})) {
      found.push_back(ListedOf(row));
    }
    return found;
  };
  // Nearest first on each side: equal scores by number, then the next scores. Each side is two
  // index ranges rather than one OR, which no index serves in order.
  const auto side = [&](const std::string& sameScore, const std::string& idOrder,
                        const std::string& otherScores, const std::string& scoreOrder) {
    std::vector<ListedEntry> near =
        rows(column + " = ? AND " + sameScore, "id " + idOrder, {score, entry.id});
    if (static_cast<int>(near.size()) < count) {
      for (ListedEntry& e : rows(otherScores, column + " " + scoreOrder + ", id " + idOrder, {score})) {
        if (static_cast<int>(near.size()) < count) near.push_back(std::move(e));
      }
    }
    return near;
  };
  const std::vector<ListedEntry> above = side("id < ?", "DESC", column + " > ?", "ASC");
  const std::vector<ListedEntry> below =
      side("id > ?", "ASC", column + " < ? AND " + column + " > 0", "DESC");
  std::vector<ListedEntry> around(above.rbegin(), above.rend());
  ListedEntry self{entry.id,     entry.created, entry.userName, entry.machine, entry.cpuName,
                   entry.cpuVendor, entry.country, score,       place};
  around.push_back(self);
  around.insert(around.end(), below.begin(), below.end());
  int64_t next = place - static_cast<int64_t>(above.size());
  for (ListedEntry& e : around) e.place = next++;
  return around;
}

std::vector<Bucket> RankingReads::Distribution(int order, int buckets) {
  if (!ValidOrder(order) || buckets < 1) return {};
  const std::string column = ScoreColumn(order);
  const std::vector<SqlTextRow> best =
      Rows({"SELECT best FROM ranking_totals WHERE score_order = ?", {int64_t{order}}});
  const int64_t top = best.empty() ? 0 : NumberAt(best.front(), 0);
  if (top <= 0) return {};
  const int64_t width = top / buckets + 1;
  // The width is ours, not the visitor's, so it may stand in the text; GROUP BY must repeat
  // the very expression of the select list on PostgreSQL.
  const std::string bucket = column + " / " + std::to_string(width);
  std::vector<Bucket> spread(static_cast<size_t>(top / width + 1));
  for (size_t i = 0; i < spread.size(); ++i) {
    spread[i].low = static_cast<int64_t>(i) * width;
    spread[i].high = spread[i].low + width;
  }
  for (const SqlTextRow& row : Rows({"SELECT " + bucket + ", COUNT(*) FROM entries WHERE " + column +
                                     " > 0 GROUP BY " + bucket,
                                 {}})) {
    const int64_t i = NumberAt(row, 0);
    if (i >= 0 && i < static_cast<int64_t>(spread.size())) spread[static_cast<size_t>(i)].count = NumberAt(row, 1);
  }
  return spread;
}

CpuMedians RankingReads::MediansOfCpu(const std::string& cpuName) {
  CpuMedians medians;
  const std::vector<SqlTextRow> rows =
      Rows({"SELECT " + AllScoreColumns() + " FROM entries WHERE cpu_name = ?", {cpuName}});
  medians.entries = static_cast<int64_t>(rows.size());
  for (size_t slot = 0; slot < medians.median.size(); ++slot) {
    std::vector<int64_t> scores;
    for (const SqlTextRow& row : rows) {
      if (NumberAt(row, slot) > 0) scores.push_back(NumberAt(row, slot));
    }
    medians.median[slot] = Median(std::move(scores));
  }
  return medians;
}

std::vector<std::string> RankingReads::Distinct(const char* column) {
  FillDerived();
  std::vector<std::string> values;
  for (const SqlTextRow& row : Rows({std::string("SELECT DISTINCT ") + column + " FROM entries WHERE " +
                                     column + " IS NOT NULL AND " + column + " <> '' ORDER BY " +
                                     column,
                                 {}})) {
    values.push_back(TextAt(row, 0));
  }
  return values;
}

std::vector<std::string> RankingReads::Vendors() { return Distinct("cpu_vendor"); }
std::vector<std::string> RankingReads::Countries() { return Distinct("country"); }

}  // namespace velora::server
