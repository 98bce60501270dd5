// The drawing tests' kernels offscreen, on small batches: each draws a right picture and its
// check catches a wrong one.

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/graphics/gdi_kernel.h"
#include "engine/graphics/gl_scene_kernel.h"
#include "engine/graphics/scene_random.h"
#include "engine/graphics/sprite_kernel.h"
#include "engine/sub_test_runner.h"
#include "platform/linux/linux_clock_source.h"

namespace velora::engine::graphics {
namespace {

constexpr bool kOffscreen = false;

// Runs a prepared kernel a few times, as MeasureKernel does, and says whether every check passed.
bool RunsAndChecks(BenchKernel& kernel, int runs) {
  for (int i = 0; i < runs; ++i) {
    kernel.Reset();
    kernel.Run();
    if (!kernel.Verify()) return false;
  }
  return true;
}

class GdiShapes : public ::testing::TestWithParam<GdiShape> {};

TEST_P(GdiShapes, DrawsAndChecksItsPictureOffscreen) {
  GdiKernel kernel(GetParam(), KernelSize::kSmall, kOffscreen);
  ASSERT_TRUE(kernel.Prepare());
  EXPECT_FALSE(kernel.canvas()->windowed());
  // Many runs: the text check must hold for every font, size and text the stream picks.
  EXPECT_TRUE(RunsAndChecks(kernel, 60));
}

TEST_P(GdiShapes, APlantedWrongPictureFailsTheCheck) {
  GdiKernel kernel(GetParam(), KernelSize::kSmall, kOffscreen);
  ASSERT_TRUE(kernel.Prepare());
  kernel.Reset();
  kernel.Run();
  // The last primitive wiped out, as a drawing path that dropped it would leave the scene.
  kernel.canvas()->Clear();
  EXPECT_FALSE(kernel.Verify());

  kernel.Reset();
  kernel.Run();
  // Or everything painted over: the untouched corner must show the background.
  cairo_t* cr = kernel.canvas()->context();
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_rectangle(cr, 0, 0, 8, 8);
  cairo_fill(cr);
  EXPECT_FALSE(kernel.Verify());
}

INSTANTIATE_TEST_SUITE_P(Shapes, GdiShapes,
                         ::testing::Values(GdiShape::kText, GdiShape::kSquare, GdiShape::kCircle,
                                           GdiShape::kBitBlt));

TEST(GdiPrimitives, StayInsideTheSceneAwayFromTheCorner) {
  for (GdiShape shape : {GdiShape::kSquare, GdiShape::kCircle, GdiShape::kBitBlt}) {
    for (uint64_t i = 0; i < 5000; ++i) {
      const GdiPrimitive p = GdiPrimitiveAt(shape, i);
      const int left = shape == GdiShape::kCircle ? p.x - p.w : p.x;
      const int top = shape == GdiShape::kCircle ? p.y - p.w : p.y;
      const int right = shape == GdiShape::kCircle ? p.x + p.w : p.x + p.w;
      const int bottom = shape == GdiShape::kCircle ? p.y + p.w : p.y + p.h;
      ASSERT_GE(left, kGdiMargin) << i;
      ASSERT_GE(top, kGdiMargin) << i;
      ASSERT_LE(right, kSceneWidth - kGdiMargin) << i;
      ASSERT_LE(bottom, kSceneHeight - kGdiMargin) << i;
    }
  }
  // Half the blits scale, by 0.5 to 2.
  EXPECT_EQ(GdiPrimitiveAt(GdiShape::kBitBlt, 0).scale, 1.0);
  const double scale = GdiPrimitiveAt(GdiShape::kBitBlt, 1).scale;
  EXPECT_TRUE(scale >= 0.5 && scale <= 2.0) << scale;
}

// A renderer that loses the frame's last sprite.
class SpriteDropper : public SpriteKernel {
 public:
  using SpriteKernel::SpriteKernel;
  void DrawFrame(uint64_t frame) override {
    SpriteKernel::DrawFrame(frame);
    const SpritePlace top = SpriteAt(9, frame);
    SDL_SetRenderDrawColor(renderer(), kSpriteBackground.r, kSpriteBackground.g,
                           kSpriteBackground.b, 255);
    const SDL_Rect middle{top.x + 16, top.y + 16, 32, 32};
    SDL_RenderFillRect(renderer(), &middle);
  }
};

TEST(Sprites, DrawAndCheckEveryCountOffscreen) {
  for (int count : {10, 100, 1000, 10000}) {
    SpriteKernel kernel(count, KernelSize::kSmall, kOffscreen);
    ASSERT_TRUE(kernel.Prepare()) << count;
    EXPECT_FALSE(kernel.windowed());
    EXPECT_TRUE(RunsAndChecks(kernel, 5)) << count;
  }
}

TEST(Sprites, ALostSpriteFailsTheCheck) {
  SpriteDropper kernel(10, KernelSize::kSmall, kOffscreen);
  ASSERT_TRUE(kernel.Prepare());
  kernel.Run();
  EXPECT_FALSE(kernel.Verify());
}

TEST(SpriteMotion, BouncesInsideTheScene) {
  for (int sprite = 0; sprite < 200; ++sprite) {
    SpritePlace previous = SpriteAt(sprite, 0);
    for (uint64_t frame = 1; frame < 700; ++frame) {
      const SpritePlace s = SpriteAt(sprite, frame);
      ASSERT_GE(s.x, 0);
      ASSERT_LE(s.x, kSceneWidth - kSpriteSize);
      ASSERT_GE(s.y, 0);
      ASSERT_LE(s.y, kSceneHeight - kSpriteSize);
      // At most 6 pixels a frame: a bounce folds the step, never jumps.
      ASSERT_LE(std::abs(s.x - previous.x), 6) << sprite << " " << frame;
      ASSERT_LE(std::abs(s.y - previous.y), 6) << sprite << " " << frame;
      previous = s;
    }
  }
  EXPECT_EQ(SpriteAlpha(32, 32), 255);
  EXPECT_EQ(SpriteAlpha(0, 0), 0);
}

// A scene that draws nothing but the clear colour.
class BlankScene : public GlSceneKernel {
 public:
  using GlSceneKernel::GlSceneKernel;
  void DrawFrame(uint64_t) override { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
};

class GlScenes : public ::testing::TestWithParam<GlScene> {};

TEST_P(GlScenes, DrawAndCheckOffscreen) {
  GlSceneKernel kernel(GetParam(), GlFigure::kFrames, KernelSize::kSmall, kOffscreen);
  ASSERT_TRUE(kernel.Prepare()) << "no OpenGL context offscreen";
  EXPECT_FALSE(kernel.windowed());
  EXPECT_TRUE(RunsAndChecks(kernel, 5));
}

TEST_P(GlScenes, ABlankPictureFailsTheCheck) {
  BlankScene kernel(GetParam(), GlFigure::kFrames, KernelSize::kSmall, kOffscreen);
  ASSERT_TRUE(kernel.Prepare());
  kernel.Run();
  EXPECT_FALSE(kernel.Verify());
}

TEST_P(GlScenes, FiguresCountFramesPrimitivesAndBusyTime) {
  const GlSceneGeometry g = SceneGeometry(GetParam(), KernelSize::kSmall);
  GlSceneKernel frames(GetParam(), GlFigure::kFrames, KernelSize::kSmall, kOffscreen);
  GlSceneKernel primitives(GetParam(), GlFigure::kPrimitives, KernelSize::kSmall, kOffscreen);
  EXPECT_EQ(frames.WorkPerRun(), g.framesPerRun);
  EXPECT_EQ(primitives.WorkPerRun(), static_cast<double>(g.framesPerRun) * g.primitives);
  GlSceneKernel busy(GetParam(), GlFigure::kProcessors, KernelSize::kSmall, kOffscreen);
  ASSERT_TRUE(busy.Prepare());
  EXPECT_TRUE(RunsAndChecks(busy, 3));
  // CPU seconds per run: drawing takes processor time, so never nothing.
  EXPECT_GT(busy.WorkPerRun(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Scenes, GlScenes, ::testing::Values(GlScene::kLines, GlScene::kTriangles));

// A wrong picture anywhere in a sub-test's runs makes the whole measurement fail, which the
// runner turns into score -1.
TEST(GraphicsMeasurement, AWrongPictureFailsTheMeasurement) {
  BlankScene kernel(GlScene::kLines, GlFigure::kFrames, KernelSize::kSmall, kOffscreen);
  EXPECT_FALSE(MeasureKernel(kernel, ProcessClockSource(), 0.01).ok);
}

// Run by ctest under Xvfb (engine_graphics_in_windows); skipped where no X server is named.
TEST(InWindows, EveryKernelDrawsInAWindowOfItsOwnAndChecksIt) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
  constexpr bool kWindow = true;
  GdiKernel gdi(GdiShape::kCircle, KernelSize::kSmall, kWindow);
  ASSERT_TRUE(gdi.Prepare());
  EXPECT_TRUE(gdi.canvas()->windowed());
  EXPECT_TRUE(RunsAndChecks(gdi, 5));
  gdi.Reset();
  gdi.Run();
  gdi.canvas()->Clear();
  EXPECT_FALSE(gdi.Verify()) << "the window's picture is read back, not a copy";

}

TEST(InWindows, SpritesInWindows) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
  constexpr bool kWindow = true;
  SpriteKernel sprites(100, KernelSize::kSmall, kWindow);
  ASSERT_TRUE(sprites.Prepare());
  EXPECT_TRUE(sprites.windowed());
  EXPECT_TRUE(RunsAndChecks(sprites, 5));
  SpriteDropper dropper(10, KernelSize::kSmall, kWindow);
  ASSERT_TRUE(dropper.Prepare());
  dropper.Run();
  EXPECT_FALSE(dropper.Verify());
}

TEST(InWindows, ScenesInWindows) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
  constexpr bool kWindow = true;
  for (GlScene scene : {GlScene::kLines, GlScene::kTriangles}) {
    GlSceneKernel gl(scene, GlFigure::kFrames, KernelSize::kSmall, kWindow);
    ASSERT_TRUE(gl.Prepare());
    EXPECT_TRUE(gl.windowed());
    EXPECT_TRUE(RunsAndChecks(gl, 5));
    BlankScene blank(scene, GlFigure::kFrames, KernelSize::kSmall, kWindow);
    ASSERT_TRUE(blank.Prepare());
    blank.Run();
    EXPECT_FALSE(blank.Verify());
  }
}

}  // namespace
}  // namespace velora::engine::graphics
