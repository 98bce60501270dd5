#pragma once
// The JSON view of the ranking: a page of a listing (the index page's search, filters, test
// and order), and one entry in full with typed values. Neither carries the mail address.

#include <cstdint>
#include <string>

#include "server/list_params.h"
#include "server/ranking_reads.h"

namespace velora::server {

struct ApiReply {
  int status = 200;
  std::string json;
};

// Anything unreadable in the query answers 400.
ApiReply EntryList(RankingReads& reads, const ParamOf& param);
ApiReply EntryDetail(RankingReads& reads, int64_t id);

}  // namespace velora::server
