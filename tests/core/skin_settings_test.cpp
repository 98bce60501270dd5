// The skin's settings: colour values with red in the low byte, and when the window becomes
// translucent.

#include "core/skin_settings.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

TEST(SkinSettings, ColourValuesHoldRedInTheLowByte) {
  const RgbColor c = ColorOfValue(0x00332211);
  EXPECT_EQ(c.red, 0x11);
  EXPECT_EQ(c.green, 0x22);
  EXPECT_EQ(c.blue, 0x33);
  EXPECT_EQ(ValueOfColor({255, 128, 0}), 0x0080FFu);
  EXPECT_EQ(TextColorText(0x00FF8000), "RGB( 0, 128, 255 )");
  EXPECT_EQ(SizeText(640, 480), "640 x 480");
}

TEST(SkinSettings, PictureFilterInQtsSpelling) {
  EXPECT_EQ(FileDialogFilter(kImageFileFilter),
            "Supported Image Files (*.bmp *.png *.jpg *.jpeg);;BMP (*.bmp);;PNG (*.png);;"
            "JPEG (*.jpg *.jpeg);;All Files (*)");
  EXPECT_EQ(FileDialogFilter(""), "");
  EXPECT_EQ(FileDialogFilter("Text|*.txt"), "Text (*.txt)") << "no closing bars";
}

class SkinSettingsFile : public ::testing::Test {
 protected:
  void Set(const std::string& key, const std::string& value) { settings.WriteSetting(key, value); }
  testing::TempFolder dir;
  Settings settings{dir.file("skin.ini")};
};

TEST_F(SkinSettingsFile, TextColourIsNoneUntilOneIsStored) {
  EXPECT_FALSE(StoredTextColor(settings).has_value());
  Set("TextColor", "16711680");  // 0xFF0000: blue
  ASSERT_TRUE(StoredTextColor(settings).has_value());
  EXPECT_EQ(ColorOfValue(*StoredTextColor(settings)).blue, 255);
  Set("TextColor", "");
  EXPECT_FALSE(StoredTextColor(settings).has_value());
}

TEST_F(SkinSettingsFile, WindowIsTranslucentOnlyForAnAlphaStrictlyBetweenTheEnds) {
  EXPECT_FALSE(WindowAlpha(settings).has_value()) << "no settings";
  Set("Alpha", "128");
  EXPECT_FALSE(WindowAlpha(settings).has_value()) << "EnableAlpha still 0";
  Set("EnableAlpha", "1");
  EXPECT_EQ(WindowAlpha(settings), 128);
  for (const char* opaque : {"0", "255", "300", "-5", "x"}) {
    Set("Alpha", opaque);
    EXPECT_FALSE(WindowAlpha(settings).has_value()) << "Alpha " << opaque;
  }
  Set("Alpha", "1");
  EXPECT_EQ(WindowAlpha(settings), 1);
  Set("Alpha", "254");
  EXPECT_EQ(WindowAlpha(settings), 254);
}

TEST_F(SkinSettingsFile, MissingAlphaMeansOpaque) {
  Set("EnableAlpha", "2");
  EXPECT_FALSE(WindowAlpha(settings).has_value()) << "the default Alpha is 255";
}

}  // namespace
}  // namespace velora
