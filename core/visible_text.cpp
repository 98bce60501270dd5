#include "core/visible_text.h"

#include <cstdio>

namespace velora {

namespace {

bool IsC1(uint32_t point) { return point >= 0x80 && point <= 0x9F; }

bool IsDirectionControl(uint32_t point) {
  return (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

// Code points that take no ink of their own, whitespace included.
bool DrawsNothing(uint32_t point) {
  struct Range {
    uint32_t first, last;
  };
  static constexpr Range kRanges[] = {
      {0x09, 0x0D},     {0x20, 0x20},     {0x7F, 0xA0},     {0xAD, 0xAD},
      {0x034F, 0x034F}, {0x061C, 0x061C}, {0x115F, 0x1160}, {0x1680, 0x1680},
      {0x17B4, 0x17B5}, {0x180B, 0x180E}, {0x2000, 0x200F}, {0x2028, 0x202F},
      {0x205F, 0x206F}, {0x2800, 0x2800}, {0x3000, 0x3000}, {0x3164, 0x3164},
      {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8},
      {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
  };
  for (const Range& r : kRanges) {
    if (point >= r.first && point <= r.last) return true;
  }
  return false;
}

}  // namespace

size_t Utf8SequenceAt(std::string_view text, size_t at, uint32_t& point) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(at);
  point = lead;
  if (lead < 0x80) return 1;
  size_t length = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, point = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, point = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, point = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
    point = point << 6 | (byte(at + k) & 0x3F);
  }
  constexpr uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (point < kShortest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
    return 0;
  }
  return length;
}

bool HasHiddenControls(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    uint32_t point = 0;
    const size_t length = Utf8SequenceAt(text, at, point);
    if (length > 1 && (IsC1(point) || IsDirectionControl(point))) return true;
    at += length == 0 ? 1 : length;
  }
  return false;
}

bool ShowsNothing(std::string_view text) {
  if (text.empty()) return false;
  for (size_t at = 0; at < text.size();) {
    uint32_t point = 0;
    const size_t length = Utf8SequenceAt(text, at, point);
    // A byte that is not UTF-8 shows as something (a replacement mark at least).
    if (length == 0 || !DrawsNothing(point)) return false;
    at += length;
  }
  return true;
}

std::string EscapedForTerminal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char escaped[16];
  for (size_t at = 0; at < text.size();) {
    uint32_t point = 0;
    const size_t length = Utf8SequenceAt(text, at, point);
    if (length == 0 || (length == 1 && ((point < 0x20 && point != '\t' && point != '\n') ||
                                        point == 0x7F))) {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[at]));
      out += escaped;
      ++at;
      continue;
    }
    if (IsC1(point) || IsDirectionControl(point)) {
      std::snprintf(escaped, sizeof escaped, "\\u{%04X}", static_cast<unsigned>(point));
      out += escaped;
    } else {
      out.append(text.substr(at, length));
    }
    at += length;
  }
  return out;
}

}  // namespace velora
