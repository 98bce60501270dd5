#include "engine/graphics/cairo_canvas.h"

#include <cairo-xlib.h>

#include <algorithm>

#include "engine/graphics/scene_random.h"

namespace velora::engine::graphics {

std::unique_ptr<CairoCanvas> CairoCanvas::Create(bool useWindow) {
  std::unique_ptr<CairoCanvas> canvas(new CairoCanvas);
  if (useWindow) canvas->window_ = X11Window::Open(kSceneWidth, kSceneHeight, "Velora GDI");
  if (canvas->window_) {
    X11Window& w = *canvas->window_;
    canvas->pixmap_ = XCreatePixmap(w.display(), w.window(), kSceneWidth, kSceneHeight,
                                    static_cast<unsigned>(w.depth()));
    canvas->gc_ = XCreateGC(w.display(), w.window(), 0, nullptr);
    canvas->surface_ = cairo_xlib_surface_create(w.display(), canvas->pixmap_, w.visual(),
                                                 kSceneWidth, kSceneHeight);
  } else {
    canvas->surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSceneWidth, kSceneHeight);
  }
  if (cairo_surface_status(canvas->surface_) != CAIRO_STATUS_SUCCESS) return nullptr;
  canvas->cr_ = cairo_create(canvas->surface_);
  if (cairo_status(canvas->cr_) != CAIRO_STATUS_SUCCESS) return nullptr;
  return canvas;
}

CairoCanvas::~CairoCanvas() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  // Cairo keeps a device per X connection until it is finished: the connection closes below.
  cairo_device_t* device = nullptr;
  if (surface_ != nullptr) {
    if (window_) device = cairo_device_reference(cairo_surface_get_device(surface_));
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
  }
  if (device != nullptr) {
    cairo_device_finish(device);
    cairo_device_destroy(device);
  }
  if (window_) {
    if (gc_ != nullptr) XFreeGC(window_->display(), gc_);
    if (pixmap_ != 0) XFreePixmap(window_->display(), pixmap_);
  }
}

void CairoCanvas::Clear() {
  cairo_save(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(cr_, kGdiBackground.r / 255.0, kGdiBackground.g / 255.0,
                       kGdiBackground.b / 255.0);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void CairoCanvas::Present() {
  cairo_surface_flush(surface_);
  if (!window_) return;
  XCopyArea(window_->display(), pixmap_, window_->window(), gc_, 0, 0, kSceneWidth, kSceneHeight,
            0, 0);
  XSync(window_->display(), False);
}

int CairoCanvas::CountPixels(int x, int y, int w, int h, Rgb colour) {
  const int x0 = std::clamp(x, 0, kSceneWidth), y0 = std::clamp(y, 0, kSceneHeight);
  const int x1 = std::clamp(x + w, 0, kSceneWidth), y1 = std::clamp(y + h, 0, kSceneHeight);
  if (x1 <= x0 || y1 <= y0) return 0;
  cairo_surface_flush(surface_);
  // Reads back only the rectangle: from a pixmap that is one GetImage request.
  const cairo_rectangle_int_t area{x0, y0, x1 - x0, y1 - y0};
  cairo_surface_t* image = cairo_surface_map_to_image(surface_, &area);
  int count = 0;
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS &&
      (cairo_image_surface_get_format(image) == CAIRO_FORMAT_RGB24 ||
       cairo_image_surface_get_format(image) == CAIRO_FORMAT_ARGB32)) {
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint32_t wanted = (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | colour.b;
    for (int row = 0; row < area.height; ++row) {
      const auto* pixels = reinterpret_cast<const uint32_t*>(data + row * stride);
      for (int col = 0; col < area.width; ++col) count += (pixels[col] & 0xFFFFFFu) == wanted;
    }
  } else {
    count = -1;
  }
  cairo_surface_unmap_image(surface_, image);
  return count;
}

}  // namespace velora::engine::graphics
