#include "engine/graphics/x11_window.h"

#include <X11/Xutil.h>

#include <cstdlib>

namespace velora::engine::graphics {
namespace {

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

}  // namespace

bool DisplayNamed() { return Named("DISPLAY") || Named("WAYLAND_DISPLAY"); }

std::unique_ptr<X11Window> X11Window::Open(int width, int height, const char* title) {
  if (!Named("DISPLAY")) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  const int screen = DefaultScreen(display);
  Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height),
                                      0, BlackPixel(display, screen), BlackPixel(display, screen));
  XStoreName(display, window, title);
  // A fixed size: window managers must not stretch the scene.
  XSizeHints hints{};
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = width;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(display, window, &hints);
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  // Drawing before the map is done would go nowhere and read back nothing.
  XEvent event;
  do XWindowEvent(display, window, StructureNotifyMask, &event);
  while (event.type != MapNotify);
  return std::unique_ptr<X11Window>(new X11Window(display, window));
}

X11Window::~X11Window() {
  XDestroyWindow(display_, window_);
  XCloseDisplay(display_);
}

Visual* X11Window::visual() const { return DefaultVisual(display_, DefaultScreen(display_)); }

int X11Window::depth() const { return DefaultDepth(display_, DefaultScreen(display_)); }

}  // namespace velora::engine::graphics
