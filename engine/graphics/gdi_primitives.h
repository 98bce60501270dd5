#pragma once
// What the GDI sub-tests draw, primitive by primitive: a pure function of the sub-test and the
// primitive's number, shared by the engine's kernels and the harness's reference loop.

#include <cstdint>

namespace velora::engine::graphics {

enum class GdiShape { kText, kSquare, kCircle, kBitBlt };

inline constexpr int kGdiFontCount = 3;
inline constexpr int kGdiTextCount = 4;
inline constexpr int kGdiMinTextSize = 14, kGdiMaxTextSize = 40;  // pixels
inline constexpr int kBlitImageSize = 128;  // four opaque quadrants of 64 x 64

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// Primitives stay this far from the edges, so the corner pixel always shows the background.
inline constexpr int kGdiMargin = 16;
inline constexpr Rgb kGdiBackground{24, 24, 40};

struct GdiPrimitive {
  int x, y;       // text: baseline origin; square and blit: top left; circle: centre
  int w, h;       // square: size; circle: w is the radius; text: w is the pixel size
  int font;       // text: index into GdiFontFamily
  int text;       // text: index into GdiText
  double scale;   // blit: 1 for a plain copy, else the scale factor
  Rgb colour;     // text, square, circle
};

GdiPrimitive GdiPrimitiveAt(GdiShape shape, uint64_t index);

// fontconfig family names, so any machine's default fonts answer them.
const char* GdiFontFamily(int font);
const char* GdiText(int text);

// Colour of quadrant q (0 top left, 1 top right, 2 bottom left, 3 bottom right) of the image.
Rgb BlitQuadrantColour(int q);

}  // namespace velora::engine::graphics
