#include "engine/graphics/gdi_kernel.h"

#include <algorithm>
#include <cmath>

#include "engine/graphics/scene_random.h"

namespace velora::engine::graphics {
namespace {

int BatchOf(GdiShape shape, KernelSize size) {
  // About 10 ms of drawing per run on this machine, so a call makes a few dozen runs.
  int batch = 0;
  switch (shape) {
    case GdiShape::kText: batch = 400; break;
    case GdiShape::kSquare: batch = 4000; break;
    case GdiShape::kCircle: batch = 2000; break;
    case GdiShape::kBitBlt: batch = 1000; break;
  }
  return size == KernelSize::kSmall ? batch / 20 : batch;
}

void SetColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

}  // namespace

cairo_surface_t* CreateBlitImage() {
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kBlitImageSize, kBlitImageSize);
  cairo_t* cr = cairo_create(image);
  const int half = kBlitImageSize / 2;
  for (int q = 0; q < 4; ++q) {
    SetColour(cr, BlitQuadrantColour(q));
    cairo_rectangle(cr, (q & 1) * half, (q >> 1) * half, half, half);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return image;
}

GdiKernel::GdiKernel(GdiShape shape, KernelSize size, bool useWindow)
    : shape_(shape), batch_(BatchOf(shape, size)), useWindow_(useWindow) {}

GdiKernel::~GdiKernel() {
  for (cairo_font_face_t* face : faces_)
    if (face != nullptr) cairo_font_face_destroy(face);
  if (image_ != nullptr) cairo_surface_destroy(image_);
  canvas_.reset();
}

bool GdiKernel::Prepare() {
  canvas_ = CairoCanvas::Create(useWindow_);
  if (!canvas_) return false;
  for (int f = 0; f < kGdiFontCount; ++f)
    faces_[f] = cairo_toy_font_face_create(GdiFontFamily(f), CAIRO_FONT_SLANT_NORMAL,
                                           CAIRO_FONT_WEIGHT_NORMAL);
  image_ = CreateBlitImage();
  if (shape_ == GdiShape::kText) WarmGlyphCache();
  return cairo_surface_status(image_) == CAIRO_STATUS_SUCCESS;
}

void GdiKernel::WarmGlyphCache() {
  // A glyph's first drawing rasterises it through FreeType, ten times the cost of drawing it
  // from Cairo's cache: without this the first call of a process would measure mostly that.
  cairo_t* cr = canvas_->context();
  for (int font = 0; font < kGdiFontCount; ++font) {
    cairo_set_font_face(cr, faces_[font]);
    for (int size = kGdiMinTextSize; size <= kGdiMaxTextSize; ++size) {
      cairo_set_font_size(cr, size);
      for (int text = 0; text < kGdiTextCount; ++text) {
        cairo_move_to(cr, kGdiMargin, kSceneHeight / 2);
        cairo_show_text(cr, GdiText(text));
      }
    }
  }
  canvas_->Clear();
}

void GdiKernel::Reset() { canvas_->Clear(); }

void GdiKernel::Draw(const GdiPrimitive& p) {
  cairo_t* cr = canvas_->context();
  switch (shape_) {
    case GdiShape::kText:
      cairo_set_font_face(cr, faces_[p.font]);
      cairo_set_font_size(cr, p.w);
      SetColour(cr, p.colour);
      cairo_move_to(cr, p.x, p.y);
      cairo_show_text(cr, GdiText(p.text));
      break;
    case GdiShape::kSquare:
      SetColour(cr, p.colour);
      cairo_rectangle(cr, p.x, p.y, p.w, p.h);
      cairo_fill(cr);
      break;
    case GdiShape::kCircle:
      SetColour(cr, p.colour);
      cairo_arc(cr, p.x, p.y, p.w, 0.0, 2.0 * M_PI);
      cairo_fill(cr);
      break;
    case GdiShape::kBitBlt:
      cairo_save(cr);
      cairo_translate(cr, p.x, p.y);
      if (p.scale != 1.0) cairo_scale(cr, p.scale, p.scale);
      cairo_set_source_surface(cr, image_, 0, 0);
      cairo_rectangle(cr, 0, 0, kBlitImageSize, kBlitImageSize);
      cairo_fill(cr);
      cairo_restore(cr);
      break;
  }
}

void GdiKernel::Run() {
  for (int i = 0; i < batch_; ++i) Draw(GdiPrimitiveAt(shape_, next_++));
  canvas_->Present();
}

bool GdiKernel::LastPrimitiveShows() const {
  const GdiPrimitive p = GdiPrimitiveAt(shape_, next_ - 1);
  switch (shape_) {
    case GdiShape::kText: {
      // Glyph stems of 14 px and more cover whole pixels; other texts only pass through.
      cairo_t* cr = canvas_->context();
      cairo_set_font_face(cr, faces_[p.font]);
      cairo_set_font_size(cr, p.w);
      cairo_text_extents_t e;
      cairo_text_extents(cr, GdiText(p.text), &e);
      const int x = static_cast<int>(std::floor(p.x + e.x_bearing));
      const int y = static_cast<int>(std::floor(p.y + e.y_bearing));
      const int count = canvas_->CountPixels(x, y, static_cast<int>(e.width) + 2,
                                             static_cast<int>(e.height) + 2, p.colour);
      // Even a 14 px text covers more than 1 % of its box with whole pixels (about 1.5 %
      // measured); a few stray pixels of an older text in the same colour are not a text.
      return count >= std::max(10, static_cast<int>(e.width * e.height / 100.0));
    }
    case GdiShape::kSquare:
      return canvas_->CountPixels(p.x, p.y, p.w, p.h, p.colour) == p.w * p.h;
    case GdiShape::kCircle:
      // The inscribed square of the circle is fully covered, the anti-aliased rim is not.
      return canvas_->PixelIs(p.x, p.y, p.colour) &&
             canvas_->PixelIs(p.x - p.w / 2, p.y - p.w / 2, p.colour) &&
             canvas_->PixelIs(p.x + p.w / 2 - 1, p.y + p.w / 2 - 1, p.colour);
    case GdiShape::kBitBlt: {
      // The middle of each quadrant, wherever the scale put it.
      const int quarter = static_cast<int>(kBlitImageSize / 4 * p.scale);
      for (int q = 0; q < 4; ++q) {
        const int x = p.x + quarter * (1 + 2 * (q & 1));
        const int y = p.y + quarter * (1 + 2 * (q >> 1));
        if (!canvas_->PixelIs(x, y, BlitQuadrantColour(q))) return false;
      }
      return true;
    }
  }
  return false;
}

bool GdiKernel::Verify() {
  if (cairo_status(canvas_->context()) != CAIRO_STATUS_SUCCESS) return false;
  return canvas_->PixelIs(1, 1, kGdiBackground) && LastPrimitiveShows();
}

}  // namespace velora::engine::graphics
