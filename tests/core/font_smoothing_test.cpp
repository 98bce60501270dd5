#include "core/font_smoothing.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(FontSmoothing, TypeFromTheRenderingSettings) {
  EXPECT_EQ(FontSmoothingTypeOf({false, true, 1}), 0) << "fontconfig did not answer";
  EXPECT_EQ(FontSmoothingTypeOf({true, false, 1}), 0);
  EXPECT_EQ(FontSmoothingTypeOf({true, true, 0}), 1);
  EXPECT_EQ(FontSmoothingTypeOf({true, true, 5}), 1);
  EXPECT_EQ(FontSmoothingTypeOf({true, true, 1}), 2);
  EXPECT_EQ(FontSmoothingTypeOf({true, true, 4}), 2);
  int live = fontSmoothingType();
  EXPECT_TRUE(live >= 0 && live <= 2) << live;
}

TEST(FontSmoothing, Names) {
  EXPECT_STREQ(FontSmoothingName(0), "None");
  EXPECT_STREQ(FontSmoothingName(1), "Normal");
  EXPECT_STREQ(FontSmoothingName(2), "ClearType");
  EXPECT_STREQ(FontSmoothingName(3), "Unknown");
  EXPECT_STREQ(FontSmoothingName(-1), "Unknown");
}

}  // namespace
}  // namespace velora
