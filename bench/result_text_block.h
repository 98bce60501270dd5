#pragma once
// The "Velora Result" block of the text report, from the result record.

#include <string>

#include "bench/bench_result.h"

namespace velora {

// displayMode and fontSmoothing are the Mark page's boxes (the display line is left out when
// displayMode is empty); diskLine is the finished disk line with its CR LF, or empty.
std::string ResultTextBlock(const BenchResult& result, const std::string& displayMode,
                            const std::string& fontSmoothing, const std::string& diskLine);

}  // namespace velora
