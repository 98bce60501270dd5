#include "engine/graphics/sprite_kernel.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "engine/graphics/scene_random.h"
#include "engine/graphics/x11_window.h"

namespace velora::engine::graphics {
namespace {

SDL_Texture* CreateSpriteTexture(SDL_Renderer* renderer, Rgb colour) {
  std::vector<uint32_t> pixels(kSpriteSize * kSpriteSize);
  for (int y = 0; y < kSpriteSize; ++y)
    for (int x = 0; x < kSpriteSize; ++x)
      pixels[y * kSpriteSize + x] = (uint32_t{SpriteAlpha(x, y)} << 24) |
                                    (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | colour.b;
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STATIC, kSpriteSize, kSpriteSize);
  if (texture == nullptr) return nullptr;
  SDL_UpdateTexture(texture, nullptr, pixels.data(), kSpriteSize * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return texture;
}

}  // namespace

SpriteKernel::SpriteKernel(int count, KernelSize size, bool useWindow)
    : count_(count), useWindow_(useWindow) {
  // A run draws about 2000 sprites' worth of frames, at least one frame.
  framesPerRun_ = std::clamp(2000 / count, 1, 50);
  if (size == KernelSize::kSmall) framesPerRun_ = 1;
}

SpriteKernel::~SpriteKernel() {
  for (SDL_Texture* texture : textures_)
    if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  if (target_ != nullptr) SDL_FreeSurface(target_);
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  // The engine is called again and again within one program: leave nothing of SDL behind.
  SDL_Quit();
}

bool SpriteKernel::Prepare() {
  // An X display is taken before a Wayland one, as the other tests do; SDL would try Wayland
  // first and complain where it has no runtime folder.
  if (useWindow_ && std::getenv("DISPLAY") != nullptr) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (useWindow_ && DisplayNamed() && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    videoStarted_ = true;
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    window_ = SDL_CreateWindow("Velora D2D", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kSceneWidth, kSceneHeight, SDL_WINDOW_SHOWN);
    if (window_ != nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  }
  if (renderer_ == nullptr) {
    // No display, or one SDL cannot use: draw offscreen with the software renderer.
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
    target_ = SDL_CreateRGBSurfaceWithFormat(0, kSceneWidth, kSceneHeight, 32,
                                             SDL_PIXELFORMAT_ARGB8888);
    if (target_ == nullptr) return false;
    renderer_ = SDL_CreateSoftwareRenderer(target_);
    if (renderer_ == nullptr) return false;
  }
  for (int c = 0; c < kSpriteColours; ++c) {
    textures_[c] = CreateSpriteTexture(renderer_, SpriteColour(c));
    if (textures_[c] == nullptr) return false;
  }
  // The renderer sets up its blending paths at the first frame: not part of drawing one.
  DrawFrame(frame_);
  return true;
}

void SpriteKernel::DrawFrame(uint64_t frame) {
  SDL_SetRenderDrawColor(renderer_, kSpriteBackground.r, kSpriteBackground.g, kSpriteBackground.b,
                         255);
  SDL_RenderClear(renderer_);
  for (int i = 0; i < count_; ++i) {
    const SpritePlace s = SpriteAt(i, frame);
    const SDL_Rect dst{s.x, s.y, kSpriteSize, kSpriteSize};
    SDL_RenderCopy(renderer_, textures_[s.colour], nullptr, &dst);
  }
}

void SpriteKernel::Run() {
  if (window_ != nullptr) SDL_PumpEvents();
  for (int k = 0; k < framesPerRun_; ++k) {
    DrawFrame(frame_);
    if (k + 1 == framesPerRun_) {
      // The frame's last sprite lies on top; its opaque middle must show its colour. Read
      // before the frame is presented, as the back buffer is undefined afterwards.
      const SpritePlace top = SpriteAt(count_ - 1, frame_);
      const SDL_Rect pixel{top.x + kSpriteSize / 2, top.y + kSpriteSize / 2, 1, 1};
      readOk_ = SDL_RenderReadPixels(renderer_, &pixel, SDL_PIXELFORMAT_ARGB8888, &lastPixel_,
                                     4) == 0;
    }
    SDL_RenderPresent(renderer_);
    ++frame_;
  }
}

bool SpriteKernel::Verify() {
  const Rgb c = SpriteColour(SpriteAt(count_ - 1, frame_ - 1).colour);
  const uint32_t wanted = (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
  return readOk_ && (lastPixel_ & 0xFFFFFFu) == wanted;
}

}  // namespace velora::engine::graphics
