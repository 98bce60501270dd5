#pragma once
// The skin's four settings and the texts the Info page shows for them. Colours are 32-bit
// values with red in the low byte, then green, then blue.

#include <cstdint>
#include <optional>
#include <string>

#include "core/settings.h"

namespace velora {

struct RgbColor {
  int red = 0;
  int green = 0;
  int blue = 0;
};

RgbColor ColorOfValue(uint32_t value);
uint32_t ValueOfColor(const RgbColor& color);

// "TextColor" as stored; none when the text is empty (the system's window-text colour).
std::optional<uint32_t> StoredTextColor(const Settings& settings);
// "RGB( r, g, b )".
std::string TextColorText(uint32_t value);
// "w x h", as the image and window sizes are shown.
std::string SizeText(int width, int height);

// The open-file dialog's filter for background pictures, as description|patterns| pairs.
constexpr const char* kImageFileFilter =
    "Supported Image Files|*.bmp;*.png;*.jpg;*.jpeg|BMP (*.bmp)|*.bmp|PNG (*.png)|*.png|"
    "JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg|All Files (*.*)|*.*||";
// The same filter as Qt's file dialog takes it: "Description (patterns)" joined by ";;", the
// patterns blank-separated, and "*.*" as "*" since names here need no dot.
std::string FileDialogFilter(const std::string& pairs);

// The opacity the window takes at start-up: a value from 1 to 254 when "EnableAlpha" is above
// 0 and "Alpha" lies there; none (opaque) otherwise, "Alpha" 0 and 255 included.
std::optional<int> WindowAlpha(const Settings& settings);

}  // namespace velora
