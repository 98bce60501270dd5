#pragma once
// What the display server and the graphics libraries say about the display: the X server's
// mode (bits per pixel from its pixmap formats, the rate from RandR), the OpenGL version and
// renderer of a context made without a window, and the Vulkan loader's API version.

#include <optional>
#include <string>

namespace velora {

struct X11DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int refreshRate = 0;  // 0 when RandR gives none
};

// The default screen of $DISPLAY; nullopt when no X server answers.
std::optional<X11DisplayMode> ReadX11DisplayMode();

struct GraphicsApiVersions {
  std::string openGlVersion;   // GL_VERSION, "" when no context could be made
  std::string openGlRenderer;  // GL_RENDERER
  std::string vulkanVersion;   // "1.3.239", "" when no Vulkan loader is installed
};

// Makes and drops a context; call it where nothing else is drawing with EGL.
GraphicsApiVersions ReadGraphicsApiVersions();

// The instance version of a Vulkan loader as "major.minor.patch".
std::string VulkanVersionText(unsigned version);

}  // namespace velora
