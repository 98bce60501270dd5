// The clock spellings of brand strings, worked out from the order of the tables.

#include <gtest/gtest.h>

#include "probe/clock/cpu_clock_brand.h"
#include "probe/clock/cpu_clock_today.h"

namespace velora {
namespace {

TEST(RatedClockFromBrand, GigahertzSpellingsOfThirdsCarryTheirFraction) {
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Pentium(R) 4 CPU 3.06GHz"), 3066.66);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Pentium(R) 4 CPU 2.13GHz"), 2133.33);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Pentium(R) III CPU family 1266MHz"), 1266.66);
  // x666 also matches its rounded spellings.
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Mobile Intel(R) Pentium(R) 4 CPU 1.67GHz"), 1666.66);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Engineering sample-2667"), 2666.66);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Engineering sample-3667"), 3666.66);
  // Written after a blank, the same figure meets " 266" of the first step before it.
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Engineering sample 2667"), 266.66);
}

TEST(RatedClockFromBrand, WholeClocksComeFromTheThousandsStep) {
  // No thirds row matches "2.40"; "2.4" of the thousands does.
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Pentium(R) 4 CPU 2.40GHz"), 2400.0);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Celeron(R) CPU 1.70GHz"), 1700.0);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Xeon(TM) CPU 5.00GHz"), 5000.0);
}

TEST(RatedClockFromBrand, BelowOneGigahertz) {
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Celeron(R) processor 433"), 433.0);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Mobile Intel(R) Pentium(R) III CPU 866MHz"), 866.66);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("VIA C3 Ezra 667MHz"), 666.66);
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Intel(R) Pentium(R) III 800"), 800.0);
  // The blank belongs to the spelling: "1800" is not " 800".
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("AMD Athlon(tm) 1800"), 1800.0);
}

TEST(RatedClockFromBrand, ThirdsBelowOneGigahertzComeFirst) {
  // " 133" is found before "2.4" is looked for.
  EXPECT_DOUBLE_EQ(RatedClockFromBrand("Processor 2.4 bus 133"), 133.33);
}

TEST(RatedClockFromBrand, NothingMatchesGivesUnknown) {
  EXPECT_EQ(RatedClockFromBrand(""), -1.0);
  EXPECT_EQ(RatedClockFromBrand("AMD EPYC"), -1.0);
}

TEST(OriginalMultiplierFromBrand, Kind1Counts133MHzSteps) {
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(1, "Intel(R) Pentium(R) III CPU 1400MHz", -1, -1, 9),
                   10.5);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(1, "Mobile CPU 1.67GHz", -1, -1, 9), 12.5);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(1, "Celeron 866", -1, -1, 9), 6.5);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(1, "no clock here", -1, 7.5, 9), 7.5);
}

TEST(OriginalMultiplierFromBrand, Kind2SharedSpellingsFollowTheMeasuredBus) {
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(2, "Celeron 2.00GHz", -1.0, -1, 9), 20.0);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(2, "Celeron 2.00GHz", 133.3, -1, 9), 15.0);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(2, "Xeon 2.80GHz", 100.0, -1, 9), 28.0);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(2, "Xeon 2.80GHz", 133.0, -1, 9), 21.0);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(2, "Pentium III 1.2GHz", -1.0, -1, 9), 12.0);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(2, "Pentium III 700", -1.0, -1, 9), 7.0);
}

TEST(OriginalMultiplierFromBrand, OtherKindsTakeTheCurrentMultiplier) {
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(0, "Pentium III 1.2GHz", -1.0, 3.0, 9.5), 9.5);
  EXPECT_DOUBLE_EQ(OriginalMultiplierFromBrand(7, "Pentium III 1.2GHz", -1.0, 3.0, 9.5), 9.5);
}

TEST(BrandClockOfToday, ReadsTheWrittenFigure) {
  EXPECT_DOUBLE_EQ(BrandClockOfToday("Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"), 3200.0);
  EXPECT_DOUBLE_EQ(BrandClockOfToday("Intel(R) Xeon(R) CPU E5-2680 v4 @ 2.40GHz"), 2400.0);
  EXPECT_DOUBLE_EQ(BrandClockOfToday("Genuine Intel(R) CPU @ 1000MHz"), 1000.0);
  EXPECT_DOUBLE_EQ(BrandClockOfToday("Some CPU @ 3.6 GHz"), 3600.0);
  EXPECT_EQ(BrandClockOfToday("AMD EPYC"), -1.0);
  EXPECT_EQ(BrandClockOfToday("AMD Ryzen 9 5950X 16-Core Processor"), -1.0);
}

TEST(BrandClockOfToday, ModelNumbersDoNotPassForClocks) {
  // The classic table would find "2400" inside the model number.
  const char* brand = "12th Gen Intel(R) Core(TM) i5-12400 @ 2.50GHz";
  EXPECT_DOUBLE_EQ(RatedClockFromBrand(brand), 2400.0);
  EXPECT_DOUBLE_EQ(BrandClockOfToday(brand), 2500.0);
}

TEST(BrandClockOfToday, ThirdsOfA133Or333MHzBusAreRestored) {
  EXPECT_NEAR(BrandClockOfToday("Intel(R) Core(TM) i7 CPU 920 @ 2.67GHz"), 2666.667, 1e-3);
  EXPECT_NEAR(BrandClockOfToday("Intel(R) Core(TM)2 Duo CPU E8500 @ 3.16GHz"), 3166.667, 1e-3);
  EXPECT_NEAR(BrandClockOfToday("Intel(R) Xeon(R) CPU E5506 @ 2.13GHz"), 2133.333, 1e-3);
  EXPECT_NEAR(BrandClockOfToday("Intel(R) Core(TM)2 Duo CPU E7600 @ 3.06GHz"), 3066.667, 1e-3);
}

}  // namespace
}  // namespace velora
