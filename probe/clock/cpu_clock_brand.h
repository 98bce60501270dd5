#pragma once
// Clocks and multipliers read from the clock written in the brand string ("1.06GHz",
// " 866"), for the processors whose registers do not hold the original multiplier.

#include <string_view>

namespace velora {

// The rated core clock in MHz from the first matching clock spelling, with the thirds of a
// 133 or 166 MHz bus restored ("3.06" gives 3066.66); -1 when nothing matches.
double RatedClockFromBrand(std::string_view brand);

// The original multiplier for a nominal bus index: kind 1 (133 MHz) and kind 2 (100 MHz)
// read the brand string and give storedOriginal when nothing matches; any other kind gives
// the current multiplier. measuredBus is the measured bus clock as it stands, which settles
// the spellings that two buses share ("2.00" is 15 x 133 or 20 x 100).
double OriginalMultiplierFromBrand(int kind, std::string_view brand, double measuredBus,
                                   double storedOriginal, double current);

}  // namespace velora
