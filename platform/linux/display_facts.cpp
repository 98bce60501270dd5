#include "platform/display_facts.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstring>

namespace velora {

std::optional<X11DisplayMode> ReadX11DisplayMode() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return std::nullopt;
  const int screen = DefaultScreen(display);
  X11DisplayMode mode;
  mode.width = DisplayWidth(display, screen);
  mode.height = DisplayHeight(display, screen);
  const int depth = DefaultDepth(display, screen);
  // The server calls a 32-bit framebuffer depth 24; its pixmap format says how it is stored.
  int count = 0;
  if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
    for (int i = 0; i < count; ++i) {
      if (formats[i].depth == depth) mode.bitsPerPixel = formats[i].bits_per_pixel;
    }
    XFree(formats);
  }
  if (mode.bitsPerPixel == 0) mode.bitsPerPixel = depth;
  int eventBase = 0, errorBase = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase)) {
    if (XRRScreenConfiguration* config = XRRGetScreenInfo(display, RootWindow(display, screen))) {
      mode.refreshRate = XRRConfigCurrentRate(config);
      XRRFreeScreenConfigInfo(config);
    }
  }
  XCloseDisplay(display);
  return mode;
}

namespace {

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + length, name)) {
    if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
  }
  return false;
}

void ReadOpenGl(GraphicsApiVersions& out) {
  if (!epoxy_has_egl()) return;
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (!HasExtension(client, "EGL_MESA_platform_surfaceless")) return;
  EGLDisplay display =
      eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return;
  if (eglBindAPI(EGL_OPENGL_API)) {
    const EGLint attributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint found = 0;
    if (eglChooseConfig(display, attributes, &config, 1, &found) && found > 0) {
      EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
      if (context != EGL_NO_CONTEXT) {
        if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
          if (const GLubyte* v = glGetString(GL_VERSION))
            out.openGlVersion = reinterpret_cast<const char*>(v);
          if (const GLubyte* r = glGetString(GL_RENDERER))
            out.openGlRenderer = reinterpret_cast<const char*>(r);
          eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        }
        eglDestroyContext(display, context);
      }
    }
  }
  // The display stays initialised: terminating it unloads the driver, whose one-time state
  // (kept under pthread_once) would then be left without its code. A later call reuses it.
  eglReleaseThread();
}

using GetInstanceProcAddr = void (*(*)(void*, const char*))();
using EnumerateInstanceVersion = int (*)(unsigned*);

void ReadVulkan(GraphicsApiVersions& out) {
  void* loader = dlopen("libvulkan.so.1", RTLD_NOW | RTLD_LOCAL);
  if (loader == nullptr) return;
  auto getProc = reinterpret_cast<GetInstanceProcAddr>(dlsym(loader, "vkGetInstanceProcAddr"));
  if (getProc != nullptr) {
    // A 1.0 loader has no version call: it is then 1.0.
    auto enumerate =
        reinterpret_cast<EnumerateInstanceVersion>(getProc(nullptr, "vkEnumerateInstanceVersion"));
    unsigned version = 1u << 22;
    if (enumerate == nullptr || enumerate(&version) == 0)
      out.vulkanVersion = VulkanVersionText(version);
  }
  dlclose(loader);
}

}  // namespace

std::string VulkanVersionText(unsigned version) {
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u", (version >> 22) & 0x7Fu, (version >> 12) & 0x3FFu,
                version & 0xFFFu);
  return text;
}

GraphicsApiVersions ReadGraphicsApiVersions() {
  GraphicsApiVersions out;
  ReadOpenGl(out);
  ReadVulkan(out);
  return out;
}

}  // namespace velora
