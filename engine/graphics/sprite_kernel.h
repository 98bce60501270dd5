#pragma once
// The D2D sub-tests: count alpha-blended 64 x 64 sprites moving across the scene, drawn with
// SDL2's renderer, in frames per second. Offscreen the software renderer draws on a surface;
// with a display SDL opens a window and picks its renderer.

#include <SDL.h>

#include <array>
#include <cstdint>

#include "engine/bench_kernel.h"
#include "engine/graphics/sprite_motion.h"

namespace velora::engine::graphics {

class SpriteKernel : public BenchKernel {
 public:
  SpriteKernel(int count, KernelSize size, bool useWindow);
  ~SpriteKernel() override;

  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return framesPerRun_; }

  bool windowed() const { return window_ != nullptr; }

 protected:
  // Clears the scene and draws every sprite at its place in frame.
  virtual void DrawFrame(uint64_t frame);
  SDL_Renderer* renderer() const { return renderer_; }

 private:
  int count_;
  int framesPerRun_;
  bool useWindow_;
  bool videoStarted_ = false;
  uint64_t frame_ = 0;
  uint32_t lastPixel_ = 0;  // ARGB read back from the last frame of a run
  bool readOk_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Surface* target_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::array<SDL_Texture*, kSpriteColours> textures_{};
};

}  // namespace velora::engine::graphics
