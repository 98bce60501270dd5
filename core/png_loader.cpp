#include "core/png_loader.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

#include "platform/regular_file.h"

namespace velora {
namespace {

constexpr size_t kSignatureBytes = 8;
// A side of 32767 pixels at most, as a bitmap's size fields hold it; ancillary chunks (text,
// colour profiles) of a background picture are far below 4 MB, and a few hundred of them at most.
constexpr png_uint_32 kLargestSide = 0x7FFF;
constexpr png_alloc_size_t kLargestChunk = 4u << 20;
constexpr png_uint_32 kMostChunks = 256;
// Deflate gives at most about 1032 bytes for one; the rows of a real picture are never more.
constexpr uint64_t kLargestInflation = 1032;

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
const char* ReadPng(std::FILE* file, uint64_t fileBytes, DibImage& image,
                    std::vector<png_bytep>& rows, PngFailure& failure) {
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
  // Whatever a chunk or the header declares, the reader allocates no more than a picture of
  // the bitmap's ceiling needs: a small file that claims a huge chunk is refused cheaply.
  png_set_user_limits(png, kLargestSide, kLargestSide);
  png_set_chunk_malloc_max(png, kLargestChunk);
  png_set_chunk_cache_max(png, kMostChunks);
  // libpng only warns about a chunk above the limit and then allocates it all the same; as an
  // error the file is refused before that.
  png_set_benign_errors(png, 0);
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
  } else if ((png_get_rowbytes(png, info) + 1) * static_cast<uint64_t>(height) >
             fileBytes * kLargestInflation) {
    // Checked before the bitmap is made: a few bytes declaring a huge picture cost nothing.
    refusal = "declares more pixels than its file can hold";
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
  // Only a regular file: a FIFO named as the background must not hold the window back.
  const int fd = OpenRegularFile(path, error);
  std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "rb");
  if (file == nullptr) {
    if (fd >= 0) close(fd);
    error = "can't open: " + (error.empty() ? std::string("out of memory") : error);
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
    struct stat info {};
    const uint64_t fileBytes = fstat(fd, &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
    refusal = ReadPng(file, fileBytes, image, rows, failure);
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
