#pragma once
// Charts drawn by the service as inline SVG, so a page needs no script: the spread of scores
// with one entry marked, and an entry's tests beside a reference such as its CPU's median.
// Colours come from the style sheet through classes; no inline style (the pages' policy
// forbids it).

#include <cstdint>
#include <string>
#include <vector>

#include "server/ranking_reads.h"

namespace velora::server {

// title names the chart for screen readers; marked is the score drawn as a line (0: none).
std::string DistributionSvg(const std::vector<Bucket>& buckets, int64_t marked,
                            const std::string& title);

struct VersusRow {
  std::string label;
  int64_t value = 0, reference = 0;
};

// One pair of bars per row, each row on its own scale, with the difference in per cent.
std::string VersusSvg(const std::vector<VersusRow>& rows, const std::string& title,
                      const std::string& valueName, const std::string& referenceName);

// "+12.5 %" for 1125 against 1000; "" when there is nothing to compare against.
std::string PerCentDifference(int64_t value, int64_t reference);

}  // namespace velora::server
