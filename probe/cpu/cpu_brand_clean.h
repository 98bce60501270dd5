#pragma once
// The brand string of a processor of today cut down to its model name: "12th Gen Intel(R)
// Core(TM) i5-12400" becomes "Core i5-12400".

#include <string>
#include <string_view>

namespace velora {

// Drops the vendor and generation words, "(R)" and "(TM)", "CPU" and "Processor", core-count
// words ("Quad-Core", "12-Core", "Dual Core"), the clock ("@ 3.40GHz", "1500MHz") and the
// integrated graphics ("with Radeon Vega Graphics", "Radeon R7, 12 Compute Cores 4C+8G"), and
// folds blanks. Parentheses left over are dropped as well, since the name with code name is
// split at the first one.
std::string CleanBrandString(std::string_view brand);

}  // namespace velora
