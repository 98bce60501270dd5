#include "core/skin_settings.h"

#include <cstdio>

#include "platform/ini_file.h"

namespace velora {

RgbColor ColorOfValue(uint32_t value) {
  return {static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
          static_cast<int>((value >> 16) & 0xFF)};
}

uint32_t ValueOfColor(const RgbColor& color) {
  return (static_cast<uint32_t>(color.red) & 0xFF) |
         ((static_cast<uint32_t>(color.green) & 0xFF) << 8) |
         ((static_cast<uint32_t>(color.blue) & 0xFF) << 16);
}

std::optional<uint32_t> StoredTextColor(const Settings& settings) {
  const std::string text = settings.ReadSetting("TextColor");
  if (text.empty()) return std::nullopt;
  return static_cast<uint32_t>(AtoiLike(text));
}

std::string TextColorText(uint32_t value) {
  const RgbColor c = ColorOfValue(value);
  char text[64];
  std::snprintf(text, sizeof text, "RGB( %d, %d, %d )", c.red, c.green, c.blue);
  return text;
}

std::string SizeText(int width, int height) {
  char text[48];
  std::snprintf(text, sizeof text, "%d x %d", width, height);
  return text;
}

std::optional<int> WindowAlpha(const Settings& settings) {
  if (settings.ReadInt("EnableAlpha") <= 0) return std::nullopt;
  const int alpha = AtoiLike(settings.ReadSetting("Alpha"));
  // 0 would hide the window and 255 changes nothing; values outside a byte are no opacity.
  if (alpha <= 0 || alpha >= 255) return std::nullopt;
  return alpha;
}

}  // namespace velora
