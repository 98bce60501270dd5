#pragma once
// Where the GDI sub-tests draw: a Cairo image surface, or with a display a server-side pixmap
// that is copied into a window of the scene's size after every batch.

#include <cairo.h>

#include <memory>

#include "engine/graphics/gdi_primitives.h"
#include "engine/graphics/x11_window.h"

namespace velora::engine::graphics {

class CairoCanvas {
 public:
  // A window when useWindow and a display can be reached, else an image surface; nullptr when
  // Cairo cannot make either.
  static std::unique_ptr<CairoCanvas> Create(bool useWindow);
  ~CairoCanvas();
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  cairo_t* context() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  bool windowed() const { return window_ != nullptr; }

  // Fills the scene with the background colour.
  void Clear();
  // Hands the batch to the window and waits until the server has drawn it, so that the time
  // taken is the drawing's, not the queue's.
  void Present();
  // Counts the pixels of exactly colour inside the rectangle (clipped to the scene); -1 when
  // the surface cannot be read back.
  int CountPixels(int x, int y, int w, int h, Rgb colour);
  bool PixelIs(int x, int y, Rgb colour) { return CountPixels(x, y, 1, 1, colour) == 1; }

 private:
  CairoCanvas() = default;
  std::unique_ptr<X11Window> window_;
  Pixmap pixmap_ = 0;
  GC gc_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
};

}  // namespace velora::engine::graphics
