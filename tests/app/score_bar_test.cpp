#include "app/score_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "bench/list_tabs.h"
#include "tests/support/offscreen_application.h"

namespace velora {
namespace {

class ScoreBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  void SetUp() override { bar.resize(200, 40); }

  // The bar painted without its number, so that every pixel is border, fill or background.
  QImage Painted(int32_t value) {
    bar.setValue(value);
    bar.setText("");
    return Render();
  }
  QImage Render() {
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    bar.render(&image);
    return image;
  }
  static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

  ScoreBar bar;
};

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlueFill = 0xF0F0FF;
constexpr QRgb kGreyFill = 0xF0F0F0;

TEST_F(ScoreBarTest, StartsWithItsDocumentedLook) {
  EXPECT_EQ(bar.value(), 0);
  EXPECT_EQ(bar.maximum(), 10000);
  EXPECT_EQ(bar.text(), "");
  EXPECT_EQ(bar.fontSize(), 240);
  EXPECT_EQ(bar.barColour(), Rgb(240, 240, 255));
  EXPECT_EQ(bar.textColours()[3], Rgb(64, 64, 255));
  // Red in the low byte.
  EXPECT_EQ(Rgb(1, 2, 3), 0x030201u);
}

TEST_F(ScoreBarTest, FillIsWidthTimesValueOverMaximum) {
  EXPECT_EQ(ScoreBar::FillWidth(200, 5000, 10000), 100);
  EXPECT_EQ(ScoreBar::FillWidth(200, 9999, 10000), 199);
  EXPECT_EQ(ScoreBar::FillWidth(200, 30000, 10000), 200) << "overfill is capped at the width";
  EXPECT_EQ(ScoreBar::FillWidth(200, -1, 10000), 0);
  EXPECT_EQ(ScoreBar::FillWidth(200, 5, 0), 0) << "no division by a zero maximum";
  // 600 x 2^31-1 overflows 32 bits; the fill is still the full width.
  EXPECT_EQ(ScoreBar::FillWidth(600, 2147483647, 100000), 600);
}

TEST_F(ScoreBarTest, HalfValueFillsTheLeftHalfInsideTheBorder) {
  const QImage image = Painted(5000);
  EXPECT_EQ(At(image, 0, 20), kBlack) << "outer border";
  EXPECT_EQ(At(image, 50, 20), kBlueFill);
  EXPECT_EQ(At(image, 98, 20), kBlueFill);
  EXPECT_EQ(At(image, 99, 20), kBlack) << "the fill's own right edge, 100 pixels from the left";
  EXPECT_EQ(At(image, 100, 20), kWhite);
  EXPECT_EQ(At(image, 198, 20), kWhite);
  EXPECT_EQ(At(image, 199, 20), kBlack);
  EXPECT_EQ(At(image, 50, 0), kBlack);
  EXPECT_EQ(At(image, 150, 39), kBlack);
}

TEST_F(ScoreBarTest, OverfillCoversTheWholeBarAndKeepsTheNumber) {
  bar.setValue(30000);
  EXPECT_EQ(bar.text(), "30000");
  const QImage image = Painted(30000);
  EXPECT_EQ(At(image, 150, 20), kBlueFill);
  EXPECT_EQ(At(image, 198, 20), kBlueFill);
  EXPECT_EQ(At(image, 199, 20), kBlack);
}

TEST_F(ScoreBarTest, NegativeValueDrawsNoBar) {
  const QImage image = Painted(-40);
  EXPECT_EQ(bar.value(), -40);
  EXPECT_EQ(At(image, 1, 20), kWhite);
  EXPECT_EQ(At(image, 50, 20), kWhite);
  EXPECT_EQ(At(image, 0, 20), kBlack);
}

TEST_F(ScoreBarTest, GreyColoursFillGreyAndDrawTheTopLayerDarkGrey) {
  bar.setColours(kGreyBarColours);
  QImage image = Painted(5000);
  EXPECT_EQ(At(image, 50, 20), kGreyFill);
  bar.setValue(8888);
  image = Render();
  bool darkGrey = false;
  bool blue = false;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      darkGrey |= At(image, x, y) == 0x404040;
      blue |= At(image, x, y) == 0x4040FF;
    }
  }
  EXPECT_TRUE(darkGrey) << "the fourth text layer lies on top";
  EXPECT_FALSE(blue);
  bar.setColours(kActiveBarColours);
  image = Render();
  blue = false;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) blue |= At(image, x, y) == 0x4040FF;
  }
  EXPECT_TRUE(blue);
}

TEST(ListTabs, TabsAndTestsMapBothWays) {
  const int tests[] = {1, 2, 3, 4, 6, 7, 9};
  for (int tab = 0; tab < kListTabCount; ++tab) {
    EXPECT_EQ(TestOfListTab(tab), tests[tab]) << tab;
    EXPECT_EQ(ListTabOfTest(tests[tab]), tab) << tab;
  }
  EXPECT_EQ(ListTabOfTest(5), 4) << "MMT runs on GDI's tab";
  EXPECT_EQ(ListTabOfTest(8), 6) << "D3D runs on OGL's tab";
}

}  // namespace
}  // namespace velora
