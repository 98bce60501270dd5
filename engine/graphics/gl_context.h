#pragma once
// An OpenGL 3.3 core context made through EGL and current on the calling thread: in a window
// of the scene's size when a display can be reached, else surfaceless (the GPU's render node,
// else Mesa's software rasteriser) drawing into a framebuffer object of the scene's size.

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <memory>

#include "engine/graphics/x11_window.h"

namespace velora::engine::graphics {

class GlContext {
 public:
  // nullptr when no GL context can be made at all: the OGL test cannot run.
  static std::unique_ptr<GlContext> Create(bool useWindow);
  ~GlContext();
  GlContext(const GlContext&) = delete;
  GlContext& operator=(const GlContext&) = delete;

  bool windowed() const { return window_ != nullptr; }
  // Shows the frame drawn (a window) or nothing (offscreen); the next frame starts undefined.
  void Present();

 private:
  GlContext() = default;
  bool MakeOffscreenTarget();

  std::unique_ptr<X11Window> window_;
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLContext context_ = EGL_NO_CONTEXT;
  EGLSurface surface_ = EGL_NO_SURFACE;
  GLuint framebuffer_ = 0, colour_ = 0, depth_ = 0;
};

}  // namespace velora::engine::graphics
