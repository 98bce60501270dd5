#include "core/png_loader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

namespace velora {
namespace {

constexpr size_t kSignatureBytes = 8;

struct PngFailure {
  char message[200];
};

void OnPngError(png_structp png, png_const_charp text) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "libpng: %s", text);
  png_longjmp(png, 1);
}

// A damaged but readable picture is still a picture; warnings stay quiet.
void OnPngWarning(png_structp, png_const_charp) {}

bool CreateImage(DibImage& image, png_uint_32 width, png_uint_32 height) {
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
  try {
    return image.create(static_cast<int>(width), static_cast<int>(height), 24);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Between setjmp and a longjmp out of libpng this frame holds only plain values, so the jump
// skips no destructor; rows belongs to the caller.
const char* ReadPng(std::FILE* file, DibImage& image, std::vector<png_bytep>& rows,
                    PngFailure& failure) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  if (png == nullptr) return "can't create the read structure";
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return "can't create the info structure";
  }
  const char* volatile refusal = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    image.release();
    return failure.message;
  }
  png_init_io(png, file);
  png_set_sig_bytes(png, kSignatureBytes);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int depth = 0, colour = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colour, nullptr, nullptr, nullptr);
  if ((colour & PNG_COLOR_MASK_ALPHA) != 0) png_set_strip_alpha(png);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
  if (depth > 8) png_set_strip_16(png);
  if (colour == PNG_COLOR_TYPE_GRAY) png_set_gray_to_rgb(png);
  // Rows are stored blue first, and interlaced pictures are read whole.
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  png_get_IHDR(png, info, &width, &height, &depth, &colour, nullptr, nullptr, nullptr);

  if (colour != PNG_COLOR_TYPE_RGB || depth != 8) {
    refusal = "not plain RGB after the transformations";
  } else if (!CreateImage(image, width, height)) {
    refusal = image.error().empty() ? "out of memory" : image.error().c_str();
  } else if (png_get_rowbytes(png, info) > static_cast<size_t>(image.stride())) {
    refusal = "row longer than the bitmap's";
  }
  if (refusal == nullptr) {
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.rowFromTop(static_cast<int>(y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (refusal != nullptr) image.release();
  return refusal;
}

}  // namespace

bool loadPng(DibImage& image, const std::string& path, std::string& error) {
  image.release();
  error.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "can't open";
    return false;
  }
  png_byte signature[kSignatureBytes] = {};
  const char* refusal = nullptr;
  if (std::fread(signature, 1, kSignatureBytes, file) != kSignatureBytes ||
      png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
    refusal = "not a PNG signature";
  } else {
    std::vector<png_bytep> rows;
    PngFailure failure{};
    refusal = ReadPng(file, image, rows, failure);
    if (refusal != nullptr) error = refusal;  // failure's text dies with this block
  }
  std::fclose(file);
  if (refusal != nullptr) {
    if (error.empty()) error = refusal;
    image.release();
    return false;
  }
  return true;
}

}  // namespace velora
