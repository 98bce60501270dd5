#pragma once
// The drawing tests place every primitive from a counter-based generator, so that a check can
// work out where the last primitive went and a reference loop can draw the same ones.

#include <cstdint>

namespace velora::engine::graphics {

// The scene every drawing test uses, offscreen or in its window.
inline constexpr int kSceneWidth = 1024;
inline constexpr int kSceneHeight = 768;

// splitmix64 of (stream, index): independent, repeatable numbers for primitive index of a stream.
constexpr uint64_t SceneRandom(uint64_t stream, uint64_t index) {
  uint64_t z = stream * 0x9E3779B97F4A7C15ull + index + 0x632BE59BD9B4E019ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// A whole number in [low, high] taken from bits of r starting at shift.
constexpr int Pick(uint64_t r, int shift, int low, int high) {
  return low + static_cast<int>((r >> shift) % static_cast<uint64_t>(high - low + 1));
}

}  // namespace velora::engine::graphics
