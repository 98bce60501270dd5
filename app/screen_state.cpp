#include "app/screen_state.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "core/font_smoothing.h"
#include "platform/display_facts.h"

namespace velora {

ScreenStateCache::ScreenStateCache(QObject* parent) : QObject(parent) {
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenStateCache::Follow);
  Follow(QGuiApplication::primaryScreen());
}

void ScreenStateCache::Follow(QScreen* screen) {
  if (followed_ != nullptr) disconnect(followed_, nullptr, this, nullptr);
  followed_ = screen;
  if (screen != nullptr) {
    connect(screen, &QScreen::geometryChanged, this, &ScreenStateCache::Refresh);
    connect(screen, &QScreen::physicalDotsPerInchChanged, this, &ScreenStateCache::Refresh);
    connect(screen, &QObject::destroyed, this, [this] { followed_ = nullptr; });
  }
  Refresh();
}

void ScreenStateCache::Refresh() {
  DisplayState state;
  if (followed_ != nullptr) {
    // Device pixels, as the display mode counts them, not scaled logical ones.
    const qreal ratio = followed_->devicePixelRatio();
    const QSize size = followed_->geometry().size();
    state.width = static_cast<int32_t>(std::lround(size.width() * ratio));
    state.height = static_cast<int32_t>(std::lround(size.height() * ratio));
    state.bitsPerPixel = followed_->depth();
    // Under X the server's pixmap format, as the Device page reads it: a 24-bit depth is
    // stored in 32 bits per pixel.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
      if (const auto x11 = ReadX11DisplayMode(); x11 && x11->bitsPerPixel > 0) {
        state.bitsPerPixel = x11->bitsPerPixel;
      }
    }
  }
  std::lock_guard lock(mutex_);
  screen_ = state;
}

DisplayState ScreenStateCache::Current() const {
  DisplayState state;
  {
    std::lock_guard lock(mutex_);
    state = screen_;
  }
  state.fontSmoothing = fontSmoothingType();
  return state;
}

}  // namespace velora
