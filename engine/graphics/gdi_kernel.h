#pragma once
// The GDI sub-tests: Text, Square, Circle and BitBlt drawn through Cairo, in primitives per
// second. Each run clears the scene (untimed), draws a batch and presents it; the check reads
// back the last primitive's pixels and the untouched corner.

#include <array>
#include <memory>

#include "engine/bench_kernel.h"
#include "engine/graphics/cairo_canvas.h"
#include "engine/graphics/gdi_primitives.h"

namespace velora::engine::graphics {

class GdiKernel : public BenchKernel {
 public:
  GdiKernel(GdiShape shape, KernelSize size, bool useWindow);
  ~GdiKernel() override;

  bool Prepare() override;
  void Reset() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return batch_; }

  // Tests reach the surface to spoil a finished picture.
  CairoCanvas* canvas() const { return canvas_.get(); }

 private:
  void Draw(const GdiPrimitive& p);
  bool LastPrimitiveShows() const;
  void WarmGlyphCache();

  GdiShape shape_;
  int batch_;
  bool useWindow_;
  uint64_t next_ = 0;  // number of the next primitive; runs go on where the last stopped
  std::unique_ptr<CairoCanvas> canvas_;
  std::array<cairo_font_face_t*, kGdiFontCount> faces_{};
  cairo_surface_t* image_ = nullptr;
};

// The 128 x 128 blit source: four opaque quadrants.
cairo_surface_t* CreateBlitImage();

}  // namespace velora::engine::graphics
