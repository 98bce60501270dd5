#pragma once
// What the read side asks of a database: run one statement with '?' placeholders and hand back
// its rows. Each backend supplies a runner; the statements themselves are written once, in
// ranking_reads.cpp, in SQL that SQLite and PostgreSQL both run.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velora::server {

// std::monostate is NULL.
using SqlValue = std::variant<std::monostate, int64_t, std::string>;
using SqlRow = std::vector<SqlValue>;

struct SqlStatement {
  std::string text;
  std::vector<SqlValue> params;  // one per '?', in order
};

class SqlRunner {
 public:
  virtual ~SqlRunner() = default;
  // The rows, or nothing when the statement failed. Integers come back as int64_t, texts as
  // std::string, NULL as std::monostate. Safe to call from several threads at once.
  virtual std::optional<std::vector<SqlRow>> Run(const SqlStatement& statement) = 0;
  // Every statement, all in one transaction; false (and nothing written) when one fails.
  virtual bool RunTogether(const std::vector<SqlStatement>& statements) = 0;
  virtual bool HasColumn(const std::string& table, const std::string& column) = 0;
};

inline int64_t NumberAt(const SqlRow& row, size_t column) {
  const auto* number = column < row.size() ? std::get_if<int64_t>(&row[column]) : nullptr;
  return number != nullptr ? *number : 0;
}

inline std::string TextAt(const SqlRow& row, size_t column) {
  const auto* text = column < row.size() ? std::get_if<std::string>(&row[column]) : nullptr;
  return text != nullptr ? *text : std::string();
}

}  // namespace velora::server
