#include "core/png_chunks.h"

#include <cstdint>

namespace velora {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1A\n", 8);

uint32_t BigEndian32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

bool PngChunksFitTheFile(std::string_view bytes) {
  if (bytes.substr(0, kSignature.size()) != kSignature) return true;
  // Each chunk: length, type, data, CRC.
  for (size_t at = kSignature.size(); at + 8 <= bytes.size();) {
    const uint32_t length = BigEndian32(bytes, at);
    if (length > 0x7FFFFFFFu || uint64_t{length} + 4 > bytes.size() - at - 8) return false;
    if (bytes.substr(at + 4, 4) == "IEND") return true;
    at += 12 + static_cast<size_t>(length);
  }
  return true;
}

}  // namespace velora
