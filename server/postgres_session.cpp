#include "server/postgres_session.h"

#include <libpq-fe.h>

#include <unordered_map>

namespace velora::server {

namespace {

class PostgresSession : public SqlSession {
 public:
  explicit PostgresSession(PGconn* connection) : connection_(connection) {}
  ~PostgresSession() override { PQfinish(connection_); }

  std::optional<SqlRows> Query(std::string_view sql, const std::vector<SqlValue>& params) override {
    const std::string* name = Prepared(sql, params.size());
    if (name == nullptr) return std::nullopt;
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    std::vector<int> lengths(params.size()), formats(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
      if (const auto* number = std::get_if<int64_t>(&params[i])) {
        texts[i] = std::to_string(*number);
      } else if (const auto* text = std::get_if<std::string>(&params[i])) {
        texts[i] = *text;
      } else {
        texts[i] = std::get<SqlBytes>(params[i]).bytes;
        formats[i] = 1;  // bytes as they are, not as text
      }
      values[i] = texts[i].data();
      lengths[i] = static_cast<int>(texts[i].size());
    }
    PGresult* result = PQexecPrepared(connection_, name->c_str(), static_cast<int>(params.size()),
                                      values.data(), lengths.data(), formats.data(), 0);
    return Rows(result);
  }

  bool Script(std::string_view sql) override {
    return Rows(PQexec(connection_, std::string(sql).c_str())).has_value();
  }

  const std::string& problem() const override { return problem_; }

  bool Healthy() override {
    if (PQstatus(connection_) != CONNECTION_OK) return false;
    if (PQtransactionStatus(connection_) == PQTRANS_IDLE) return true;
    Script("ROLLBACK");
    return PQtransactionStatus(connection_) == PQTRANS_IDLE;
  }

 private:
  std::optional<SqlRows> Rows(PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
      problem_ = PQresultErrorMessage(result);
      while (!problem_.empty() && problem_.back() == '\n') problem_.pop_back();
      PQclear(result);
      return std::nullopt;
    }
    SqlRows rows;
    const int columns = PQnfields(result);
    for (int r = 0; r < PQntuples(result); ++r) {
      std::vector<std::string> row(static_cast<size_t>(columns));
      for (int c = 0; c < columns; ++c) {
        if (!PQgetisnull(result, r, c))
          row[static_cast<size_t>(c)].assign(PQgetvalue(result, r, c),
                                             static_cast<size_t>(PQgetlength(result, r, c)));
      }
      rows.Add(std::move(row));
    }
    PQclear(result);
    return rows;
  }

  // Each statement is prepared once per connection and kept under a name of its own.
  const std::string* Prepared(std::string_view sql, size_t parameters) {
    const std::string key(sql);
    const auto found = names_.find(key);
    if (found != names_.end()) return &found->second;
    const std::string name = "s" + std::to_string(names_.size());
    PGresult* result = PQprepare(connection_, name.c_str(), NumberedParameters(sql).c_str(),
                                 static_cast<int>(parameters), nullptr);
    if (!Rows(result)) return nullptr;
    return &(names_[key] = name);
  }

  PGconn* connection_;
  std::unordered_map<std::string, std::string> names_;
  std::string problem_;
};

std::unique_ptr<SqlSession> Connect(const std::string& address, std::string& problem) {
  PGconn* connection = PQconnectdb(address.c_str());
  if (PQstatus(connection) != CONNECTION_OK) {
    problem = PQerrorMessage(connection);
    while (!problem.empty() && problem.back() == '\n') problem.pop_back();
    PQfinish(connection);
    return nullptr;
  }
  // "relation already exists, skipping" and the like are not for the service's log.
  PQsetNoticeProcessor(connection, [](void*, const char*) {}, nullptr);
  return std::make_unique<PostgresSession>(connection);
}

}  // namespace

std::string NumberedParameters(std::string_view sql) {
  std::string out;
  int number = 0;
  bool quoted = false;
  for (const char c : sql) {
    if (c == '\'') quoted = !quoted;
    if (c == '?' && !quoted) {
      out += "$" + std::to_string(++number);
    } else {
      out += c;
    }
  }
  return out;
}

std::unique_ptr<SqlDatabase> OpenPostgres(const std::string& address, std::string& problem) {
  auto database = std::make_unique<SqlDatabase>(
      SqlDialect::kPostgres,
      [address](bool, std::string& why) { return Connect(address, why); }, 0);
  if (!database->Writer()) {
    problem = database->problem();
    return nullptr;
  }
  return database;
}

}  // namespace velora::server
