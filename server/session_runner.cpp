#include "server/session_runner.h"

#include "server/store_schema.h"

namespace velora::server {

namespace {

std::vector<SqlValue> ValuesOf(const std::vector<SqlParam>& params) {
  std::vector<SqlValue> values;
  values.reserve(params.size());
  for (const SqlParam& param : params) {
    std::visit([&values](const auto& value) { values.emplace_back(value); }, param);
  }
  return values;
}

}  // namespace

std::optional<std::vector<SqlTextRow>> SessionRunner::Run(const SqlStatement& statement) {
  SqlLease reader = database_.Reader();
  if (!reader) return std::nullopt;
  const std::optional<SqlRows> rows = reader->Query(statement.text, ValuesOf(statement.params));
  if (!rows) return std::nullopt;
  std::vector<SqlTextRow> out(rows->size());
  for (size_t r = 0; r < rows->size(); ++r) {
    for (size_t c = 0; c < rows->columns(); ++c) out[r].push_back(rows->Text(r, c));
  }
  return out;
}

bool SessionRunner::RunTogether(const std::vector<SqlStatement>& statements) {
  SqlLease writer = database_.Writer();
  if (!writer) return false;
  bool ok = BeginWrite(*writer, database_.dialect());
  for (size_t i = 0; ok && i < statements.size(); ++i) {
    ok = writer->Execute(statements[i].text, ValuesOf(statements[i].params));
  }
  if (ok && writer->Execute("COMMIT")) return true;
  writer->Execute("ROLLBACK");
  return false;
}

}  // namespace velora::server
