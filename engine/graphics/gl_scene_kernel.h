#pragma once
// The OGL sub-tests: two scenes drawn from vertex buffers through OpenGL 3.3. Scene 1 is many
// coloured lines turning about the middle, Scene 2 a lit, textured torus of many triangles.
// One kernel measures one figure of a scene: frames, primitives, or the processors the scene
// kept busy (process CPU time over wall time).

#include <cstdint>
#include <memory>

#include "engine/bench_kernel.h"
#include "engine/graphics/gl_context.h"
#include "engine/graphics/gdi_primitives.h"

namespace velora::engine::graphics {

enum class GlScene { kLines, kTriangles };
enum class GlFigure { kFrames, kPrimitives, kProcessors };

// The fixed parts of the scenes, shared with the harness's reference loop.
struct GlSceneGeometry {
  int primitives;        // lines or triangles per frame
  int framesPerRun;
};
GlSceneGeometry SceneGeometry(GlScene scene, KernelSize size);

// Every frame ends with a marker drawn through the same pipeline: a horizontal line (Scene 1) or
// a quad facing the light (Scene 2) whose pixels are known exactly, and the corner stays clear.
inline constexpr int kMarkerRow = 100;          // pixel row of the marker, from the bottom
inline constexpr int kMarkerColumn = 512;
inline constexpr Rgb kLineMarker{255, 128, 0};
inline constexpr Rgb kGlBackground{26, 26, 51};

class GlSceneKernel : public BenchKernel {
 public:
  GlSceneKernel(GlScene scene, GlFigure figure, KernelSize size, bool useWindow);
  ~GlSceneKernel() override;

  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override;

  bool windowed() const { return gl_ && gl_->windowed(); }

 protected:
  // Draws frame number frame, marker included, into the current framebuffer.
  virtual void DrawFrame(uint64_t frame);

 private:
  bool BuildLines();
  bool BuildTriangles();

  GlScene scene_;
  GlFigure figure_;
  GlSceneGeometry geometry_;
  bool useWindow_;
  std::unique_ptr<GlContext> gl_;
  GLuint program_ = 0, vertexArray_ = 0, buffer_ = 0, texture_ = 0;
  GLint angleUniform_ = -1;
  int vertices_ = 0;      // of the scene, the marker's follow
  int markerVertices_ = 0;
  uint64_t frame_ = 0;
  int runs_ = 0;
  double cpuSeconds_ = 0.0;
  uint8_t marker_[4] = {}, corner_[4] = {};
};

// The colour the marker must show: the line's colour, or the texel under the lit quad.
Rgb MarkerColour(GlScene scene);

}  // namespace velora::engine::graphics
