#include "app/skin/translucency.h"

#include <QWidget>

#include "core/skin_settings.h"

namespace velora {

bool applyTransparency(QWidget* window, int alpha) {
  if (window == nullptr || alpha <= 0 || alpha >= 255) return false;
  window->setWindowOpacity(alpha / 255.0);
  return true;
}

bool applyStartupTransparency(QWidget* window, const Settings& settings) {
  const std::optional<int> alpha = WindowAlpha(settings);
  return alpha.has_value() && applyTransparency(window, *alpha);
}

}  // namespace velora
