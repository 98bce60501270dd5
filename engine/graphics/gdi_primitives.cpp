#include "engine/graphics/gdi_primitives.h"

#include "engine/graphics/scene_random.h"

namespace velora::engine::graphics {
namespace {

// Opaque, far from the background and from each other, so a check can tell them apart.
constexpr Rgb kPalette[] = {{230, 40, 40},  {40, 200, 60},   {60, 90, 240},  {240, 220, 50},
                            {220, 60, 220}, {50, 210, 220},  {250, 250, 250}, {250, 140, 20}};

constexpr const char* kFamilies[kGdiFontCount] = {"sans-serif", "serif", "monospace"};

constexpr const char* kTexts[kGdiTextCount] = {"Velora drawing test", "The quick brown fox",
                                               "0123456789 +-*/", "Sphinx of black quartz"};

constexpr Rgb kQuadrants[4] = {{200, 30, 30}, {30, 180, 30}, {30, 60, 210}, {220, 200, 40}};

}  // namespace

GdiPrimitive GdiPrimitiveAt(GdiShape shape, uint64_t index) {
  const uint64_t r = SceneRandom(static_cast<uint64_t>(shape) + 1, index);
  GdiPrimitive p{};
  p.colour = kPalette[r & 7];
  p.scale = 1.0;
  switch (shape) {
    case GdiShape::kText:
      p.w = Pick(r, 3, kGdiMinTextSize, kGdiMaxTextSize);
      p.font = Pick(r, 11, 0, kGdiFontCount - 1);
      p.text = Pick(r, 15, 0, kGdiTextCount - 1);
      // Room for the longest text at the largest size to the right and above the baseline.
      p.x = Pick(r, 20, kGdiMargin, 440);
      p.y = Pick(r, 40, 64, kSceneHeight - kGdiMargin - 12);
      break;
    case GdiShape::kSquare:
      p.w = Pick(r, 3, 8, 128);
      p.h = Pick(r, 11, 8, 128);
      p.x = Pick(r, 20, kGdiMargin, kSceneWidth - kGdiMargin - p.w);
      p.y = Pick(r, 40, kGdiMargin, kSceneHeight - kGdiMargin - p.h);
      break;
    case GdiShape::kCircle:
      p.w = Pick(r, 3, 4, 64);
      p.x = Pick(r, 20, kGdiMargin + p.w, kSceneWidth - kGdiMargin - p.w);
      p.y = Pick(r, 40, kGdiMargin + p.w, kSceneHeight - kGdiMargin - p.w);
      break;
    case GdiShape::kBitBlt:
      // Every other blit scales, by 0.5 to 2 in steps of 1/8.
      p.scale = (index & 1) ? Pick(r, 3, 4, 16) / 8.0 : 1.0;
      p.w = p.h = static_cast<int>(kBlitImageSize * p.scale);
      p.x = Pick(r, 20, kGdiMargin, kSceneWidth - kGdiMargin - p.w);
      p.y = Pick(r, 40, kGdiMargin, kSceneHeight - kGdiMargin - p.h);
      break;
  }
  return p;
}

const char* GdiFontFamily(int font) { return kFamilies[font]; }
const char* GdiText(int text) { return kTexts[text]; }
Rgb BlitQuadrantColour(int q) { return kQuadrants[q]; }

}  // namespace velora::engine::graphics
