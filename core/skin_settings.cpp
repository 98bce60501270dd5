#include "core/skin_settings.h"

#include <cstdio>
#include <vector>

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

std::string FileDialogFilter(const std::string& pairs) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar = pairs.find('|'); bar != std::string::npos; bar = pairs.find('|', start)) {
    parts.push_back(pairs.substr(start, bar - start));
    start = bar + 1;
  }
  if (start < pairs.size()) parts.push_back(pairs.substr(start));
  std::string filter;
  for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
    std::string description = parts[i];
    // A description that names its patterns gets Qt's spelling of them instead.
    if (size_t open = description.rfind(" (");
        open != std::string::npos && description.back() == ')')
      description.resize(open);
    std::string patterns;
    size_t from = 0;
    const std::string& list = parts[i + 1];
    while (from <= list.size()) {
      size_t semicolon = list.find(';', from);
      if (semicolon == std::string::npos) semicolon = list.size();
      std::string pattern = list.substr(from, semicolon - from);
      if (pattern == "*.*") pattern = "*";
      if (!pattern.empty()) patterns += (patterns.empty() ? "" : " ") + pattern;
      from = semicolon + 1;
    }
    filter += (filter.empty() ? "" : ";;") + description + " (" + patterns + ")";
  }
  return filter;
}

std::optional<int> WindowAlpha(const Settings& settings) {
  if (settings.ReadInt("EnableAlpha") <= 0) return std::nullopt;
  const int alpha = AtoiLike(settings.ReadSetting("Alpha"));
  // 0 would hide the window and 255 changes nothing; values outside a byte are no opacity.
  if (alpha <= 0 || alpha >= 255) return std::nullopt;
  return alpha;
}

}  // namespace velora
