#include "engine/graphics/graphics_sub_tests.h"

#include <limits>

#include "engine/graphics/gdi_kernel.h"
#include "engine/graphics/gl_scene_kernel.h"
#include "engine/graphics/sprite_kernel.h"
#include "engine/graphics/x11_window.h"

namespace velora::engine::graphics {
namespace {

// Figures shown beside a scene, not added into the test's score.
constexpr double kNoScore = std::numeric_limits<double>::infinity();

// The divisors put this development machine (2-core Zen 3 virtual machine, Mesa's software
// rasteriser) in the low thousands offscreen; engine/README.md gives each formula.
constexpr SubTestRow kGdiRows[] = {
    {kGdiSubTests[0], 1.0, 20.0},   // value: texts drawn per second
    {kGdiSubTests[1], 1.0, 400.0},  // value: rectangles per second
    {kGdiSubTests[2], 1.0, 20.0},   // value: circles per second
    {kGdiSubTests[3], 1.0, 4.0},    // value: blits per second
};

// value: hundredths of frames per second.
constexpr SubTestRow kD2dRows[] = {
    {kD2dSubTests[0], 100.0, 1.0},  {kD2dSubTests[1], 100.0, 0.25}, {kD2dSubTests[2], 100.0, 0.1},
    {kD2dSubTests[3], 100.0, 0.05}, {kD2dSubTests[4], 100.0, 0.01}, {kD2dSubTests[5], 100.0, 0.005},
};

constexpr SubTestRow kOglRows[] = {
    {kOglSubTests[0], 1.0, 0.005},      // value: frames per second
    {kOglSubTests[1], 1e-3, kNoScore},  // value: thousand lines per second
    {kOglSubTests[2], 1.0, kNoScore},   // value: processors kept busy
    {kOglSubTests[3], 1.0, 0.005},     {kOglSubTests[4], 1e-3, kNoScore},
    {kOglSubTests[5], 1.0, kNoScore},
};

constexpr int kSpriteCounts[] = {10, 100, 500, 1000, 5000, 10000};

}  // namespace

std::span<const SubTestRow> GdiRows() { return kGdiRows; }
std::span<const SubTestRow> D2dRows() { return kD2dRows; }
std::span<const SubTestRow> OglRows() { return kOglRows; }

std::unique_ptr<BenchKernel> MakeGraphicsKernel(int32_t test, int32_t subTest, KernelSize size) {
  const bool window = DisplayNamed();
  switch (test) {
    case kGdi: {
      static constexpr GdiShape kShapes[] = {GdiShape::kText, GdiShape::kSquare, GdiShape::kCircle,
                                             GdiShape::kBitBlt};
      if (subTest < 0 || subTest > 3) return nullptr;
      return std::make_unique<GdiKernel>(kShapes[subTest], size, window);
    }
    case kD2d:
      if (subTest < 0 || subTest > 5) return nullptr;
      return std::make_unique<SpriteKernel>(kSpriteCounts[subTest], size, window);
    case kOgl: {
      if (subTest < 0 || subTest > 5) return nullptr;
      static constexpr GlFigure kFigures[] = {GlFigure::kFrames, GlFigure::kPrimitives,
                                              GlFigure::kProcessors};
      const GlScene scene = subTest < 3 ? GlScene::kLines : GlScene::kTriangles;
      return std::make_unique<GlSceneKernel>(scene, kFigures[subTest % 3], size, window);
    }
    default: return nullptr;
  }
}

}  // namespace velora::engine::graphics
