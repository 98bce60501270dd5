#pragma once
// What the read side asks of a database: run statements with '?' placeholders and hand back
// their rows as text. SessionRunner supplies it over the service's database; the statements
// themselves are written once, in ranking_reads.cpp, in SQL that SQLite and PostgreSQL both run.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velora::server {

using SqlParam = std::variant<int64_t, std::string>;
// Every column as text; NULL reads as "".
using SqlTextRow = std::vector<std::string>;

struct SqlStatement {
  std::string text;
  std::vector<SqlParam> params;  // one per '?', in order
};

class SqlRunner {
 public:
  virtual ~SqlRunner() = default;
  // A read: the rows, or nothing when the statement failed. Safe from several threads at once.
  virtual std::optional<std::vector<SqlTextRow>> Run(const SqlStatement& statement) = 0;
  // A write: every statement in one transaction; false (and nothing written) when one fails.
  virtual bool RunTogether(const std::vector<SqlStatement>& statements) = 0;
};

inline int64_t NumberAt(const SqlTextRow& row, size_t column) {
  if (column >= row.size()) return 0;
  const std::string& text = row[column];
  int64_t number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

inline std::string TextAt(const SqlTextRow& row, size_t column) {
  return column < row.size() ? row[column] : std::string();
}

}  // namespace velora::server
