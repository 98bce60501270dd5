#include "core/dib_image.h"

namespace velora {

void DibImage::release() {
  header_ = DibHeader{};
  // Give the memory back, not just the size.
  std::vector<uint8_t>().swap(bits_);
}

bool DibImage::create(int width, int height, int bitsPerPixel) {
  release();
  error_.clear();
  if (width <= 0 || height <= 0) {
    error_ = "image size not positive";
    return false;
  }
  if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) {
    error_ = "unsupported bits per pixel";
    return false;
  }
  const uint64_t size =
      static_cast<uint64_t>(StrideFor(width, bitsPerPixel)) * static_cast<uint64_t>(height);
  if (size > kDibMaxBytes) {
    error_ = "image too large";
    return false;
  }
  header_.width = width;
  header_.height = height;
  header_.bitsPerPixel = static_cast<uint16_t>(bitsPerPixel);
  header_.compression = bitsPerPixel == 24 ? 0 : 3;
  header_.imageSize = static_cast<uint32_t>(size);
  if (bitsPerPixel == 16) header_.masks = {0x7C00, 0x3E0, 0x1F};
  if (bitsPerPixel == 32) header_.masks = {0xFF0000, 0xFF00, 0xFF};
  bits_.assign(static_cast<size_t>(size), 0);
  return true;
}

}  // namespace velora
