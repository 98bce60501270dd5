#pragma once
// A device-independent bitmap: a bitmap header with its three colour masks, and the pixel rows
// stored bottom-up in blue-green-red order with each row padded to four bytes. The skin's
// loaders all end in one of these.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velora {

struct DibHeader {
  uint32_t headerSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitsPerPixel = 0;
  uint32_t compression = 0;  // 0 for 24 bits per pixel, 3 (bit fields) otherwise
  uint32_t imageSize = 0;    // stride x height
  std::array<uint32_t, 3> masks{};
};

// The most pixel bytes one image may take: a background picture larger than this is refused
// before anything is allocated, whatever its header claims.
constexpr uint64_t kDibMaxBytes = 256ull * 1024 * 1024;

class DibImage {
 public:
  static int BytesPerPixel(int bitsPerPixel) { return (bitsPerPixel + 7) / 8; }
  static int64_t StrideFor(int width, int bitsPerPixel) {
    return (static_cast<int64_t>(width) * BytesPerPixel(bitsPerPixel) + 3) / 4 * 4;
  }

  // Releases the previous bitmap, then makes a zeroed one; false (and empty) for a size that
  // is not positive, a depth other than 16, 24 or 32, or more than kDibMaxBytes.
  bool create(int width, int height, int bitsPerPixel);
  void release();

  bool empty() const { return bits_.empty(); }
  const DibHeader& header() const { return header_; }
  int width() const { return header_.width; }
  int height() const { return header_.height; }
  int bitsPerPixel() const { return header_.bitsPerPixel; }
  int64_t stride() const { return StrideFor(header_.width, header_.bitsPerPixel); }
  uint8_t* bits() { return bits_.data(); }
  const uint8_t* bits() const { return bits_.data(); }
  // Row y counted from the top of the picture (stored rows run from the bottom).
  uint8_t* rowFromTop(int y) { return bits_.data() + (height() - 1 - y) * stride(); }
  const uint8_t* rowFromTop(int y) const { return bits_.data() + (height() - 1 - y) * stride(); }
  // Why the last create failed.
  const std::string& error() const { return error_; }

 private:
  DibHeader header_;
  std::vector<uint8_t> bits_;
  std::string error_;
};

}  // namespace velora
