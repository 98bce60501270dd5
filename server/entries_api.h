#pragma once
// The JSON view of the ranking: a paged list, overall or by test, and one entry in full.

#include <cstdint>
#include <string>

#include "server/entry_store.h"

namespace velora::server {

constexpr int64_t kDefaultPageSize = 50;
constexpr int64_t kMaxPageSize = 200;

struct ApiReply {
  int status = 200;
  std::string json;
};

// test: "" for the overall ranking, else a test name ("ALU"); page counts from 1. Texts as they
// came in the query; anything unreadable answers 400.
ApiReply EntryList(EntryStore& store, const std::string& test, const std::string& page,
                   const std::string& perPage);
ApiReply EntryDetail(EntryStore& store, int64_t id);

}  // namespace velora::server
