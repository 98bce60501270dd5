#include "engine/graphics/gl_context.h"

#include <cstring>

#include "engine/graphics/scene_random.h"

namespace velora::engine::graphics {
namespace {

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + length, name))
    if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
  return false;
}

EGLDisplay Initialised(EGLDisplay display) {
  if (display == EGL_NO_DISPLAY) return EGL_NO_DISPLAY;
  if (eglInitialize(display, nullptr, nullptr)) return display;
  return EGL_NO_DISPLAY;
}

// Surfaceless first (a render node, or Mesa's software rasteriser without one), then any EGL
// device that initialises.
EGLDisplay OffscreenDisplay() {
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    EGLDisplay d = Initialised(
        eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
    if (d != EGL_NO_DISPLAY) return d;
  }
  if (HasExtension(clientExtensions, "EGL_EXT_platform_device") &&
      HasExtension(clientExtensions, "EGL_EXT_device_enumeration")) {
    EGLDeviceEXT devices[8];
    EGLint count = 0;
    if (eglQueryDevicesEXT(8, devices, &count)) {
      for (EGLint i = 0; i < count; ++i) {
        EGLDisplay d = Initialised(eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr));
        if (d != EGL_NO_DISPLAY) return d;
      }
    }
  }
  return EGL_NO_DISPLAY;
}

EGLDisplay WindowDisplay(Display* x11) {
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (!HasExtension(clientExtensions, "EGL_EXT_platform_x11") &&
      !HasExtension(clientExtensions, "EGL_KHR_platform_x11"))
    return EGL_NO_DISPLAY;
  return Initialised(eglGetPlatformDisplayEXT(EGL_PLATFORM_X11_KHR, x11, nullptr));
}

}  // namespace

std::unique_ptr<GlContext> GlContext::Create(bool useWindow) {
  // epoxy finds no libEGL at all on a machine without one; ask before calling through it.
  if (!epoxy_has_egl()) return nullptr;
  std::unique_ptr<GlContext> gl(new GlContext);
  if (useWindow) gl->window_ = X11Window::Open(kSceneWidth, kSceneHeight, "Velora OGL");
  if (gl->window_) gl->display_ = WindowDisplay(gl->window_->display());
  if (gl->display_ == EGL_NO_DISPLAY) {
    gl->window_.reset();
    gl->display_ = OffscreenDisplay();
  }
  if (gl->display_ == EGL_NO_DISPLAY || !eglBindAPI(EGL_OPENGL_API)) return nullptr;

  const EGLint configAttributes[] = {
      EGL_SURFACE_TYPE, gl->window_ ? EGL_WINDOW_BIT : 0,
      EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
      EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
      EGL_DEPTH_SIZE, gl->window_ ? 24 : 0,
      EGL_NONE};
  EGLConfig config;
  EGLint configs = 0;
  if (!eglChooseConfig(gl->display_, configAttributes, &config, 1, &configs) || configs < 1)
    return nullptr;
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  gl->context_ = eglCreateContext(gl->display_, config, EGL_NO_CONTEXT, contextAttributes);
  if (gl->context_ == EGL_NO_CONTEXT) return nullptr;
  if (gl->window_) {
    gl->surface_ = eglCreatePlatformWindowSurfaceEXT(gl->display_, config,
                                                     gl->window_->native(), nullptr);
    if (gl->surface_ == EGL_NO_SURFACE) return nullptr;
  }
  if (!eglMakeCurrent(gl->display_, gl->surface_, gl->surface_, gl->context_)) return nullptr;
  if (gl->window_) {
    // Frames as fast as they can be drawn, not at the monitor's rate.
    eglSwapInterval(gl->display_, 0);
    return gl;
  }
  return gl->MakeOffscreenTarget() ? std::move(gl) : nullptr;
}

bool GlContext::MakeOffscreenTarget() {
  glGenRenderbuffers(1, &colour_);
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kSceneWidth, kSceneHeight);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kSceneWidth, kSceneHeight);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void GlContext::Present() {
  if (surface_ != EGL_NO_SURFACE) eglSwapBuffers(display_, surface_);
}

GlContext::~GlContext() {
  if (display_ == EGL_NO_DISPLAY) return;
  if (context_ != EGL_NO_CONTEXT) {
    if (framebuffer_ != 0) glDeleteFramebuffers(1, &framebuffer_);
    if (colour_ != 0) glDeleteRenderbuffers(1, &colour_);
    if (depth_ != 0) glDeleteRenderbuffers(1, &depth_);
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display_, context_);
  }
  if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_, surface_);
  eglTerminate(display_);
  eglReleaseThread();
}

}  // namespace velora::engine::graphics
