#pragma once
// A store and the read side over one fresh database (SQLite, or PostgreSQL under
// with_postgres.sh), for filling directly and reading back.

#include <gtest/gtest.h>

#include "server/entry_store.h"
#include "server/ranking_reads.h"
#include "server/session_runner.h"
#include "tests/server/service_fixture.h"
#include "tests/support/temp_folder.h"

namespace velora::testing {

struct Row {
  const char* user;
  const char* machine;
  const char* cpu;
  int64_t mark, alu, created;
  const char* country;
  const char* vendorString;
};

class ReadsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.Open(FreshDatabase(folder_, "ranking.sqlite"))) << store_.problem();
    std::string problem;
    reads_ = std::make_unique<server::RankingReads>(
        std::make_unique<server::SessionRunner>(store_.database()));
    ASSERT_TRUE(reads_->Prepare(problem)) << problem;
  }

  int64_t Add(const Row& row) {
    server::NewEntry entry;
    entry.created = row.created;
    entry.userName = row.user;
    entry.machine = row.machine;
    entry.cpuName = row.cpu;
    entry.passwordHash = "hash of the password";
    entry.digest = row.user;
    entry.mark = row.mark;
    entry.tests[0] = row.alu;
    entry.pairs = {{"UserName", row.user}, {"Country", row.country},
                   {"Mail", "owner@mail.example"}, {"VendorString", row.vendorString}};
    return store_.Insert(entry).value_or(0);
  }

  TempFolder folder_;
  server::EntryStore store_;
  std::unique_ptr<server::RankingReads> reads_;
};

}  // namespace velora::testing
