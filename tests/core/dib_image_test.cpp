// The bitmap header and row layout for each depth, worked out from the layout rules: bytes per
// pixel (bits + 7) / 8, rows padded to four bytes, masks for 16 and 32 bits.

#include "core/dib_image.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

TEST(DibImage, HeaderFollowsTheDepth) {
  DibImage image;
  ASSERT_TRUE(image.create(3, 2, 16));
  EXPECT_EQ(image.header().headerSize, 40u);
  EXPECT_EQ(image.header().planes, 1);
  EXPECT_EQ(image.header().compression, 3u);
  EXPECT_EQ(image.stride(), 8);  // 6 bytes padded
  EXPECT_EQ(image.header().imageSize, 16u);
  EXPECT_EQ(image.header().masks, (std::array<uint32_t, 3>{0x7C00, 0x3E0, 0x1F}));

  ASSERT_TRUE(image.create(1, 5, 24));
  EXPECT_EQ(image.header().compression, 0u);
  EXPECT_EQ(image.stride(), 4);  // 3 bytes padded
  EXPECT_EQ(image.header().imageSize, 20u);
  EXPECT_EQ(image.header().masks, (std::array<uint32_t, 3>{0, 0, 0}));

  ASSERT_TRUE(image.create(5, 1, 32));
  EXPECT_EQ(image.header().compression, 3u);
  EXPECT_EQ(image.stride(), 20);
  EXPECT_EQ(image.header().masks, (std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF}));
}

TEST(DibImage, RowsFromTheTopAreStoredFromTheBottom) {
  DibImage image;
  ASSERT_TRUE(image.create(2, 3, 24));
  EXPECT_EQ(image.rowFromTop(2), image.bits());
  EXPECT_EQ(image.rowFromTop(0), image.bits() + 2 * 8);
}

TEST(DibImage, RefusesWhatItCannotHold) {
  DibImage image;
  EXPECT_FALSE(image.create(0, 4, 24));
  EXPECT_FALSE(image.create(4, -1, 24));
  EXPECT_FALSE(image.create(4, 4, 8));
  EXPECT_EQ(image.error(), "unsupported bits per pixel");
  // 16384 x 16384 x 3 is 768 MB, over the limit; nothing is allocated.
  EXPECT_FALSE(image.create(16384, 16384, 24));
  EXPECT_EQ(image.error(), "image too large");
  EXPECT_TRUE(image.empty());
  // Just inside: 8192 x 8192 x 4 is exactly 256 MB (not allocated here: checked on paper).
  EXPECT_LE(static_cast<uint64_t>(DibImage::StrideFor(8192, 32)) * 8192, kDibMaxBytes);
}

}  // namespace
}  // namespace velora
