#pragma once
// Small PNG files for the picture loaders' tests, written with libpng from pixels the test
// chooses, and a bare header for pictures too large to write.

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace velora::testing {

struct PngPicture {
  int width = 0;
  int height = 0;
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  // Rows from the top, packed as PNG stores them (16-bit samples big-endian).
  std::vector<std::vector<uint8_t>> rows;
  std::vector<png_color> palette;
  std::vector<uint8_t> transparency;  // a tRNS chunk when not empty (palette alphas)
};

inline bool WritePng(const std::string& path, const PngPicture& picture) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), picture.bitDepth, picture.colourType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) {
    png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
  }
  if (!picture.transparency.empty()) {
    png_set_tRNS(png, info, picture.transparency.data(),
                 static_cast<int>(picture.transparency.size()), nullptr);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& row : picture.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  if (picture.interlaced) png_set_interlace_handling(png);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

inline void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

inline void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  PutBigEndian(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                static_cast<uInt>(typed.size()))));
}

// The signature, an IHDR of 8-bit RGB at this size and the start of an IDAT: enough for a
// reader to learn the size, nowhere near enough pixels.
inline std::string PngHeaderOnly(uint32_t width, uint32_t height) {
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header += std::string("\x08\x02\x00\x00\x00", 5);
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", std::string("\x78\x9c\x00\x00\x00\xff\xff", 7));
  return out;
}

// A 1 x 1 picture's header, then a chunk of type whose length field claims declaredLength
// bytes, followed by a few: a small file that asks a trusting reader for that much memory.
inline std::string PngWithLongChunk(const char* type, uint32_t declaredLength) {
  std::string out = PngHeaderOnly(1, 1).substr(0, 33);  // signature and IHDR
  PutBigEndian(out, declaredLength);
  out += std::string(type, 4) + std::string(64, 'x');
  return out;
}

}  // namespace velora::testing
