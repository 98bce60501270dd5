#pragma once
// The ranking's front page: a page of the overall or a test's ranking, searched and filtered,
// by score or newest first, with the way to the next pages; a welcome when nothing is
// registered yet.

#include <string>

#include "server/list_params.h"
#include "server/page_words.h"
#include "server/ranking_reads.h"

namespace velora::server {

std::string IndexPage(RankingReads& reads, const ListParams& params, PageLanguage language);

}  // namespace velora::server
