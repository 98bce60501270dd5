#pragma once
// The page of one entry, in Japanese or English: its places overall and in every test with the
// entries around it, the spread of scores and its tests against its CPU's median, its sub-tests
// by name and its machine.

#include <cstdint>
#include <optional>
#include <string>

#include "server/page_words.h"
#include "server/ranking_reads.h"

namespace velora::server {

// The whole page, or nothing when there is no such entry.
std::optional<std::string> EntryPage(RankingReads& reads, int64_t id, PageLanguage language);
// The page that says there is no such entry (or that the address cannot be read).
std::string MissingPage(PageLanguage language, Word why = Word::kMissing);

}  // namespace velora::server
