#pragma once
// Two or three entries side by side, test by test and sub-test by sub-test, each against the
// first in per cent.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/page_words.h"
#include "server/ranking_reads.h"

namespace velora::server {

constexpr size_t kMinCompared = 2, kMaxCompared = 3;

// Entry numbers from "ids=A,B,C" and "id=A&id=B" alike (empty pieces skipped, repeats once);
// nothing unless there are two or three of them.
std::optional<std::vector<int64_t>> ReadComparedIds(const std::vector<std::string>& texts);

// The page, or nothing when one of the entries does not exist.
std::optional<std::string> ComparePage(RankingReads& reads, const std::vector<int64_t>& ids,
                                       PageLanguage language);

}  // namespace velora::server
