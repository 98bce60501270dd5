#include "server/sql_database.h"

#include <charconv>

#include "server/postgres_session.h"
#include "server/sqlite_session.h"

namespace velora::server {

int64_t SqlRows::Number(size_t row, size_t column) const {
  const std::string& text = rows_[row][column];
  int64_t number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

SqlLease::~SqlLease() {
  if (session_ && owner_ != nullptr) owner_->Return(std::move(session_), writer_);
}

SqlLease SqlDatabase::Reader() { return Lend(false); }
SqlLease SqlDatabase::Writer() { return Lend(true); }

std::string SqlDatabase::problem() {
  std::lock_guard<std::mutex> lock(mutex_);
  return problem_;
}

SqlLease SqlDatabase::Lend(bool writer) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (writer) {
    writerFree_.wait(lock, [this] { return writers_ == 0 || writersOut_ < writers_; });
    ++writersOut_;
  }
  auto& idle = writer ? idleWriters_ : idleReaders_;
  if (!idle.empty()) {
    std::unique_ptr<SqlSession> session = std::move(idle.back());
    idle.pop_back();
    return SqlLease(this, std::move(session), writer);
  }
  lock.unlock();
  std::string problem;
  std::unique_ptr<SqlSession> session = opener_(writer, problem);
  lock.lock();
  if (!session) {
    problem_ = problem;
    if (writer) {
      --writersOut_;
      writerFree_.notify_one();
    }
  }
  return SqlLease(this, std::move(session), writer);
}

void SqlDatabase::Return(std::unique_ptr<SqlSession> session, bool writer) {
  std::lock_guard<std::mutex> lock(mutex_);
  // A session left inside a transaction by a failure is not lent again.
  if (session->Healthy()) (writer ? idleWriters_ : idleReaders_).push_back(std::move(session));
  if (writer) {
    --writersOut_;
    writerFree_.notify_one();
  }
}

bool IsPostgresAddress(const std::string& where) {
  return where.rfind("postgresql://", 0) == 0 || where.rfind("postgres://", 0) == 0;
}

std::unique_ptr<SqlDatabase> OpenSqlDatabase(const std::string& where, std::string& problem) {
  if (IsPostgresAddress(where)) return OpenPostgres(where, problem);
  return OpenSqlite(where, problem);
}

}  // namespace velora::server
