#pragma once
// Where the D2D sprites are in a given frame: each starts at its own place and moves in a
// straight line, bouncing off the scene's edges. Shared by the kernel, its check and the
// harness's reference loop.

#include <cstdint>

#include "engine/graphics/gdi_primitives.h"

namespace velora::engine::graphics {

inline constexpr int kSpriteSize = 64;
inline constexpr int kSpriteColours = 4;
// The middle of a sprite is opaque: its pixels show the sprite's colour exactly.
inline constexpr int kSpriteOpaqueRadius = 20;
inline constexpr int kSpriteRadius = 30;
inline constexpr Rgb kSpriteBackground{16, 32, 48};

struct SpritePlace {
  int x, y;    // top left
  int colour;  // index into SpriteColour
};

SpritePlace SpriteAt(int sprite, uint64_t frame);
Rgb SpriteColour(int colour);

// Alpha of the sprite image at (x, y): opaque inside the inner radius, fading to 0 at the rim.
uint8_t SpriteAlpha(int x, int y);

}  // namespace velora::engine::graphics
