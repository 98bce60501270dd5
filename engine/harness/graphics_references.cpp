#include "engine/harness/graphics_references.h"

#include <SDL.h>
#include <cairo.h>

#include <cmath>
#include <vector>

#include "engine/graphics/gdi_kernel.h"
#include "engine/graphics/gl_scene_kernel.h"
#include "engine/graphics/scene_random.h"
#include "engine/graphics/sprite_motion.h"
#include "engine/harness/harness_figures.h"

namespace velora::bench {
namespace {

using namespace velora::engine::graphics;

constexpr double kMinSeconds = 0.25;

// Repeats step (which answers the work it did) until kMinSeconds have passed.
template <typename Step>
double Rate(Step step) {
  double work = 0.0;
  const double start = Now();
  double elapsed = 0.0;
  do {
    work += step();
    elapsed = Now() - start;
  } while (elapsed < kMinSeconds);
  return work / elapsed;
}

// Reaches the scene's own drawing, without the kernel's checks and per-run finish.
class PlainScene : public GlSceneKernel {
 public:
  using GlSceneKernel::GlSceneKernel;
  void Frame(uint64_t frame) { DrawFrame(frame); }
};

}  // namespace

double ReferenceGdi(int shape) {
  const auto s = static_cast<GdiShape>(shape);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSceneWidth, kSceneHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_font_face_t* faces[kGdiFontCount];
  for (int f = 0; f < kGdiFontCount; ++f)
    faces[f] = cairo_toy_font_face_create(GdiFontFamily(f), CAIRO_FONT_SLANT_NORMAL,
                                          CAIRO_FONT_WEIGHT_NORMAL);
  cairo_surface_t* image = CreateBlitImage();
  uint64_t next = 0;
  const double rate = Rate([&] {
    constexpr int kBatch = 200;
    for (int i = 0; i < kBatch; ++i) {
      const GdiPrimitive p = GdiPrimitiveAt(s, next++);
      if (s == GdiShape::kBitBlt) {
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        cairo_scale(cr, p.scale, p.scale);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_rectangle(cr, 0, 0, kBlitImageSize, kBlitImageSize);
        cairo_fill(cr);
        cairo_restore(cr);
        continue;
      }
      cairo_set_source_rgb(cr, p.colour.r / 255.0, p.colour.g / 255.0, p.colour.b / 255.0);
      if (s == GdiShape::kText) {
        cairo_set_font_face(cr, faces[p.font]);
        cairo_set_font_size(cr, p.w);
        cairo_move_to(cr, p.x, p.y);
        cairo_show_text(cr, GdiText(p.text));
      } else if (s == GdiShape::kSquare) {
        cairo_rectangle(cr, p.x, p.y, p.w, p.h);
        cairo_fill(cr);
      } else {
        cairo_arc(cr, p.x, p.y, p.w, 0.0, 2.0 * M_PI);
        cairo_fill(cr);
      }
    }
    cairo_surface_flush(surface);
    return static_cast<double>(kBatch);
  });
  cairo_surface_destroy(image);
  for (cairo_font_face_t* face : faces) cairo_font_face_destroy(face);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return rate;
}

double ReferenceSprites(int count) {
  SDL_Surface* target =
      SDL_CreateRGBSurfaceWithFormat(0, kSceneWidth, kSceneHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
  SDL_Texture* textures[kSpriteColours];
  for (int c = 0; c < kSpriteColours; ++c) {
    const Rgb colour = SpriteColour(c);
    std::vector<uint32_t> pixels(kSpriteSize * kSpriteSize);
    for (int y = 0; y < kSpriteSize; ++y)
      for (int x = 0; x < kSpriteSize; ++x)
        pixels[y * kSpriteSize + x] = (uint32_t{SpriteAlpha(x, y)} << 24) |
                                      (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) |
                                      colour.b;
    textures[c] = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                    kSpriteSize, kSpriteSize);
    SDL_UpdateTexture(textures[c], nullptr, pixels.data(), kSpriteSize * 4);
    SDL_SetTextureBlendMode(textures[c], SDL_BLENDMODE_BLEND);
  }
  uint64_t frame = 0;
  const double rate = Rate([&] {
    SDL_SetRenderDrawColor(renderer, kSpriteBackground.r, kSpriteBackground.g, kSpriteBackground.b,
                           255);
    SDL_RenderClear(renderer);
    for (int i = 0; i < count; ++i) {
      const SpritePlace s = SpriteAt(i, frame);
      const SDL_Rect dst{s.x, s.y, kSpriteSize, kSpriteSize};
      SDL_RenderCopy(renderer, textures[s.colour], nullptr, &dst);
    }
    SDL_RenderPresent(renderer);
    ++frame;
    return 1.0;
  });
  for (SDL_Texture* t : textures) SDL_DestroyTexture(t);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(target);
  return rate;
}

double ReferenceGlScene(int scene) {
  PlainScene plain(scene == 0 ? GlScene::kLines : GlScene::kTriangles, GlFigure::kFrames,
                   velora::engine::KernelSize::kFull, false);
  if (!plain.Prepare()) return 0.0;
  // The engine's cadence without its read-back: a run of frames back to back, then a finish
  // that makes the clock see the work done.
  const int framesPerRun = SceneGeometry(scene == 0 ? GlScene::kLines : GlScene::kTriangles,
                                         velora::engine::KernelSize::kFull)
                               .framesPerRun;
  uint64_t frame = 0;
  double frames = 0.0;
  const double start = Now();
  do {
    for (int k = 0; k < framesPerRun; ++k) plain.Frame(frame++);
    glFinish();
    frames += framesPerRun;
  } while (Now() - start < kMinSeconds);
  return frames / (Now() - start);
}

}  // namespace velora::bench
