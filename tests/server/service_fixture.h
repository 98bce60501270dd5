#pragma once
// A ranking service on 127.0.0.1 with a fresh database, driven by the client's own post, and a
// small GET for its pages.

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "ranking/ranking_post.h"
#include "server/postgres_session.h"
#include "server/ranking_service.h"
#include "tests/server/sample_registration.h"
#include "tests/support/temp_folder.h"

namespace velora::testing {

struct Fetched {
  long status = 0;
  std::string body;
  std::string headers;
};

// Nothing (status 0) when no whole reply came within `timeoutMs`.
inline Fetched FetchWithin(const std::string& url, long timeoutMs) {
  Fetched fetched;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  const auto append = +[](char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
  };
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &fetched.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, append);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &fetched.headers);
  if (curl_easy_perform(curl) == CURLE_OK) {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &fetched.status);
  }
  curl_easy_cleanup(curl);
  return fetched;
}

inline Fetched Fetch(const std::string& url) { return FetchWithin(url, 20000); }

// The service tests run on a SQLite file, or, with VELORA_TEST_POSTGRES=1 (set by
// with_postgres.sh inside pg_virtualenv), on the PostgreSQL server the PG* variables name.
inline bool OnPostgres() {
  const char* flag = std::getenv("VELORA_TEST_POSTGRES");
  return flag != nullptr && std::string(flag) == "1";
}

// A database with no entries: a new file, or the PostgreSQL database emptied.
inline std::string FreshDatabase(const TempFolder& folder, const std::string& file) {
  if (!OnPostgres()) return folder.file(file);
  std::string problem;
  const auto database = server::OpenPostgres("postgresql://", problem);
  EXPECT_TRUE(database) << problem;
  if (database) {
    server::SqlLease writer = database->Writer();
    EXPECT_TRUE(writer->Script("DROP TABLE IF EXISTS entries, ranking_totals, ranking_state"))
        << writer->problem();
  }
  return "postgresql://";
}

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = FreshDatabase(folder_, "ranking.sqlite");
    StartService();
  }
  // The service logs its stop into log_, so it goes first.
  void TearDown() override { service_.reset(); }

  void StartService(server::RateLimit limit = {0, 0}) {
    service_ = std::make_unique<server::RankingService>();
    server::ServiceOptions options;
    options.port = 0;
    options.databasePath = database_;
    options.hashCost = server::HashCost::kMinimum;
    options.rateLimit = limit;
    options.requestSeconds = requestSeconds_;
    options.trustedProxy = trustedProxy_;
    options.clock = [this] { return now_.load(); };
    options.log = [this](const std::string& line) {
      std::lock_guard<std::mutex> lock(logMutex_);
      log_.push_back(line);
    };
    ASSERT_TRUE(service_->Start(options)) << service_->problem();
  }
  void RestartService() {
    service_->Stop();
    StartService();
  }

  std::string url() const { return "http://127.0.0.1:" + std::to_string(service_->port()); }

  int32_t Post(const std::string& body, const char* path = kRegisterPath) {
    const PostOutcome outcome = PostForm(body, url(), path, kAgentName);
    EXPECT_TRUE(outcome.problem.empty()) << outcome.problem;
    return outcome.reply;
  }
  Fetched Get(const std::string& path) { return Fetch(url() + path); }

  std::vector<std::string> log() {
    std::lock_guard<std::mutex> lock(logMutex_);
    return log_;
  }

  int requestSeconds_ = 10;
  std::string trustedProxy_;
  // The service's clock, moved by hand.
  std::atomic<int64_t> now_{1'800'000'000};
  TempFolder folder_;
  std::string database_;
  std::unique_ptr<server::RankingService> service_;
  std::mutex logMutex_;
  std::vector<std::string> log_;
};

}  // namespace velora::testing
