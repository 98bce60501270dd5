#include "engine/graphics/sprite_motion.h"

#include <cmath>

#include "engine/graphics/scene_random.h"

namespace velora::engine::graphics {
namespace {

constexpr Rgb kColours[kSpriteColours] = {{255, 80, 60}, {80, 230, 90}, {90, 120, 255}, {250, 230, 80}};

// Position after moving by distance from start along a track of length span, reflecting at both
// ends (a triangle wave of period 2 x span).
int Bounce(int64_t start, int64_t distance, int span) {
  const int64_t period = 2 * static_cast<int64_t>(span);
  int64_t p = (start + distance) % period;
  if (p < 0) p += period;
  return static_cast<int>(p <= span ? p : period - p);
}

}  // namespace

SpritePlace SpriteAt(int sprite, uint64_t frame) {
  const uint64_t r = SceneRandom(100, static_cast<uint64_t>(sprite));
  const int spanX = kSceneWidth - kSpriteSize, spanY = kSceneHeight - kSpriteSize;
  // Speeds of 1 to 6 pixels per frame in either direction.
  const int vx = Pick(r, 0, 1, 6) * ((r >> 8) & 1 ? 1 : -1);
  const int vy = Pick(r, 10, 1, 6) * ((r >> 18) & 1 ? 1 : -1);
  const int64_t f = static_cast<int64_t>(frame % (1u << 30));
  SpritePlace place;
  place.x = Bounce(Pick(r, 20, 0, spanX), vx * f, spanX);
  place.y = Bounce(Pick(r, 40, 0, spanY), vy * f, spanY);
  place.colour = sprite % kSpriteColours;
  return place;
}

Rgb SpriteColour(int colour) { return kColours[colour]; }

uint8_t SpriteAlpha(int x, int y) {
  const double dx = x + 0.5 - kSpriteSize / 2.0, dy = y + 0.5 - kSpriteSize / 2.0;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (d <= kSpriteOpaqueRadius) return 255;
  if (d >= kSpriteRadius) return 0;
  return static_cast<uint8_t>(std::lround(255.0 * (kSpriteRadius - d) / (kSpriteRadius - kSpriteOpaqueRadius)));
}

}  // namespace velora::engine::graphics
