#pragma once
// A window of the drawing tests on a display connection of their own: the engine runs on the
// runner's worker thread and must not share the program's connection.

#include <X11/Xlib.h>

#include <memory>

namespace velora::engine::graphics {

// True when the environment names a display server ($DISPLAY or $WAYLAND_DISPLAY).
bool DisplayNamed();

class X11Window {
 public:
  // Opens a connection and shows a window of width x height titled title; nullptr when no
  // X display can be reached (no $DISPLAY, server gone, Wayland without XWayland).
  static std::unique_ptr<X11Window> Open(int width, int height, const char* title);
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  Display* display() const { return display_; }
  Window window() const { return window_; }
  // EGL takes the window by address.
  Window* native() { return &window_; }
  Visual* visual() const;
  int depth() const;

 private:
  X11Window(Display* display, Window window) : display_(display), window_(window) {}
  Display* display_;
  Window window_;
};

}  // namespace velora::engine::graphics
