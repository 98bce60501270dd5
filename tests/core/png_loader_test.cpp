// The PNG loader against small pictures written for each case; the expected bytes follow from
// the pixels written, the bottom-up blue-green-red layout and the four-byte row padding.

#include "core/png_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/png_chunks.h"
#include "tests/support/png_writer.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

using testing::PngPicture;
using testing::TempFolder;
using testing::WritePng;

std::vector<uint8_t> Row(const DibImage& image, int fromTop) {
  const uint8_t* row = image.rowFromTop(fromTop);
  return std::vector<uint8_t>(row, row + image.stride());
}

// Top row red, green; bottom row blue, (10, 20, 30).
PngPicture FourColours() {
  PngPicture p;
  p.width = 2;
  p.height = 2;
  p.rows = {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 10, 20, 30}};
  return p;
}

class PngLoaderTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const PngPicture& picture) {
    const std::string path = dir.file(name);
    EXPECT_TRUE(WritePng(path, picture));
    return path;
  }
  TempFolder dir;
  DibImage image;
  std::string error;
};

TEST_F(PngLoaderTest, RgbLoadsBottomUpInBlueGreenRedWithPaddedRows) {
  ASSERT_TRUE(loadPng(image, Write("rgb.png", FourColours()), error)) << error;
  EXPECT_EQ(image.width(), 2);
  EXPECT_EQ(image.height(), 2);
  EXPECT_EQ(image.bitsPerPixel(), 24);
  EXPECT_EQ(image.stride(), 8);  // 6 bytes of pixels padded to 8
  // Stored first: the picture's bottom row.
  const std::vector<uint8_t> stored(image.bits(), image.bits() + 16);
  EXPECT_EQ(stored, (std::vector<uint8_t>{255, 0, 0, 30, 20, 10, 0, 0,  //
                                          0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST_F(PngLoaderTest, InterlacedPictureLoadsLikeTheSamePlainOne) {
  PngPicture p = FourColours();
  p.interlaced = true;
  ASSERT_TRUE(loadPng(image, Write("adam7.png", p), error)) << error;
  EXPECT_EQ(Row(image, 0), (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 0, 0}));
  EXPECT_EQ(Row(image, 1), (std::vector<uint8_t>{255, 0, 0, 30, 20, 10, 0, 0}));
}

TEST_F(PngLoaderTest, SixteenBitsPerChannelLoadAsTheirHighBytes) {
  PngPicture p;
  p.width = 1;
  p.height = 1;
  p.bitDepth = 16;
  p.rows = {{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0x00}};  // R 0xABCD, G 0x1234, B 0xFF00
  ASSERT_TRUE(loadPng(image, Write("rgb16.png", p), error)) << error;
  EXPECT_EQ(image.bitsPerPixel(), 24);
  EXPECT_EQ(Row(image, 0), (std::vector<uint8_t>{0xFF, 0x12, 0xAB, 0}));
}

TEST_F(PngLoaderTest, AlphaChannelIsStrippedAndTheColoursStay) {
  PngPicture p;
  p.width = 1;
  p.height = 1;
  p.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  p.rows = {{40, 50, 60, 0}};  // fully transparent: the colour is kept all the same
  ASSERT_TRUE(loadPng(image, Write("rgba.png", p), error)) << error;
  EXPECT_EQ(Row(image, 0), (std::vector<uint8_t>{60, 50, 40, 0}));
}

TEST_F(PngLoaderTest, PaletteWithoutTransparencyIsExpanded) {
  PngPicture p;
  p.width = 3;
  p.height = 1;
  p.colourType = PNG_COLOR_TYPE_PALETTE;
  p.bitDepth = 8;
  p.palette = {{1, 2, 3}, {200, 100, 50}};
  p.rows = {{1, 0, 1}};
  ASSERT_TRUE(loadPng(image, Write("palette.png", p), error)) << error;
  EXPECT_EQ(image.stride(), 12);  // 9 bytes padded to 12
  EXPECT_EQ(Row(image, 0), (std::vector<uint8_t>{50, 100, 200, 3, 2, 1, 50, 100, 200, 0, 0, 0}));
}

TEST_F(PngLoaderTest, PaletteWithTransparencyChunkIsRefused) {
  PngPicture p;
  p.width = 1;
  p.height = 1;
  p.colourType = PNG_COLOR_TYPE_PALETTE;
  p.palette = {{1, 2, 3}};
  p.transparency = {128};
  p.rows = {{0}};
  EXPECT_FALSE(loadPng(image, Write("palette-trns.png", p), error));
  EXPECT_EQ(error, "not plain RGB after the transformations");
  EXPECT_TRUE(image.empty());
}

TEST_F(PngLoaderTest, LowDepthGreyIsWidenedToEightBitsThenToRgb) {
  PngPicture p;
  p.width = 2;
  p.height = 1;
  p.colourType = PNG_COLOR_TYPE_GRAY;
  p.bitDepth = 4;
  p.rows = {{0xA3}};  // samples 0xA and 0x3: 0xAA and 0x33 at eight bits
  ASSERT_TRUE(loadPng(image, Write("grey4.png", p), error)) << error;
  EXPECT_EQ(Row(image, 0), (std::vector<uint8_t>{0xAA, 0xAA, 0xAA, 0x33, 0x33, 0x33, 0, 0}));
}

TEST_F(PngLoaderTest, GreyWithAlphaIsRefused) {
  PngPicture p;
  p.width = 1;
  p.height = 1;
  p.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  p.rows = {{90, 255}};
  EXPECT_FALSE(loadPng(image, Write("grey-alpha.png", p), error));
  EXPECT_EQ(error, "not plain RGB after the transformations");
}

TEST_F(PngLoaderTest, DamagedFilesAreRefusedWithTheirReason) {
  const std::string whole = Write("whole.png", FourColours());
  const std::string bytes = testing::ReadText(whole);

  testing::WriteText(dir.file("truncated.png"), bytes.substr(0, bytes.size() / 2));
  EXPECT_FALSE(loadPng(image, dir.file("truncated.png"), error));
  EXPECT_EQ(error.rfind("libpng: ", 0), 0u) << error;
  EXPECT_TRUE(image.empty());

  std::string wrong = bytes;
  wrong[1] = 'Q';  // "\x89QNG"
  testing::WriteText(dir.file("wrong.png"), wrong);
  EXPECT_FALSE(loadPng(image, dir.file("wrong.png"), error));
  EXPECT_EQ(error, "not a PNG signature");

  testing::WriteText(dir.file("short.png"), bytes.substr(0, 5));
  EXPECT_FALSE(loadPng(image, dir.file("short.png"), error));
  EXPECT_EQ(error, "not a PNG signature");

  EXPECT_FALSE(loadPng(image, dir.file("missing.png"), error));
  EXPECT_EQ(error, "can't open: No such file or directory");
}

TEST_F(PngLoaderTest, HugeHeaderIsRefusedBeforeThePixelsAreAllocated) {
  // 20000 x 20000 at three bytes would take 1.2 GB.
  testing::WriteText(dir.file("huge.png"), testing::PngHeaderOnly(20000, 20000));
  EXPECT_FALSE(loadPng(image, dir.file("huge.png"), error));
  EXPECT_EQ(error, "declares more pixels than its file can hold");
  EXPECT_TRUE(image.empty());
}

// What a hostile file declares is checked before it is believed: the loader neither waits on
// a FIFO nor allocates a chunk or a picture its few bytes cannot hold.
TEST_F(PngLoaderTest, HostileFilesAreRefusedCheaply) {
  ASSERT_EQ(mkfifo(dir.file("fifo.png").c_str(), 0600), 0);
  testing::WriteText(dir.file("text.png"), testing::PngWithLongChunk("tEXt", 0x7FFFFFF0));
  testing::WriteText(dir.file("unknown.png"), testing::PngWithLongChunk("vpAg", 0x7FFFFFF0));
  testing::WriteText(dir.file("wide.png"), testing::PngHeaderOnly(3000, 3000));
  testing::WriteText(dir.file("side.png"), testing::PngHeaderOnly(40000, 1));
  const std::pair<const char*, const char*> cases[] = {
      {"fifo.png", "can't open: is not a regular file (a device, pipe or socket)"},
      {"text.png", "libpng: tEXt: chunk data is too large"},
      {"unknown.png", "libpng: vpAg: chunk data is too large"},
      {"wide.png", "declares more pixels than its file can hold"},
      {"side.png", "libpng: Invalid IHDR data"},  // wider than the user limit
  };
  for (const auto& [name, reason] : cases) {
    EXPECT_FALSE(loadPng(image, dir.file(name), error)) << name;
    EXPECT_EQ(error, reason) << name;
    EXPECT_TRUE(image.empty()) << name;
  }
}

TEST(PngChunks, EveryDeclaredLengthMustLieWithinTheFile) {
  const std::string whole = testing::PngHeaderOnly(2, 2);  // IHDR, then a 7-byte IDAT
  const std::string ended = whole + std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
  const std::pair<std::string, bool> cases[] = {
      {whole, true},
      {ended + "trailing bytes", true},
      {whole.substr(0, whole.size() - 1), false},  // the IDAT's CRC cut short
      {testing::PngWithLongChunk("tEXt", 0x7FFFFFF0), false},
      {testing::PngWithLongChunk("tEXt", 0xFFFFFFFF), false},
      {"GIF89a" + std::string(64, '\xFF'), true},  // not a PNG: not this check's business
  };
  for (const auto& [bytes, fits] : cases) {
    EXPECT_EQ(PngChunksFitTheFile(bytes), fits) << bytes.size();
  }
}

TEST_F(PngLoaderTest, AFailedLoadReleasesThePreviousPicture) {
  ASSERT_TRUE(loadPng(image, Write("rgb.png", FourColours()), error));
  EXPECT_FALSE(loadPng(image, dir.file("missing.png"), error));
  EXPECT_TRUE(image.empty());
  EXPECT_EQ(image.width(), 0);
}

}  // namespace
}  // namespace velora
