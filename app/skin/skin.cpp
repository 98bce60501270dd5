#include "app/skin/skin.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "app/skin/qt_picture_loaders.h"
#include "core/png_loader.h"
#include "core/skin_settings.h"

namespace velora {
namespace {

QColor ColorOf(uint32_t value) {
  const RgbColor c = ColorOfValue(value);
  return QColor(c.red, c.green, c.blue);
}

QColor SystemTextColor() {
  return QApplication::palette().color(QPalette::Active, QPalette::WindowText);
}

}  // namespace

int Skin::load(int mode, const std::string& path) {
  on_ = false;
  background_ = QBrush();
  image_.release();
  error_.clear();
  int result = 0;
  if (mode == 1 && !path.empty()) {
    using Loader = bool (*)(DibImage&, const std::string&, std::string&);
    const std::pair<const char*, Loader> loaders[] = {
        {"BMP", loadBmp}, {"PNG", loadPng}, {"picture", loadPicture}};
    for (const auto& [name, loader] : loaders) {
      std::string why;
      if (loader(image_, path, why)) {
        error_.clear();
        background_ = QBrush(ImageOfDib(image_));
        on_ = true;
        result = 1;
        break;
      }
      error_ += (error_.empty() ? "" : "; ") + std::string(name) + ": " + why;
    }
  }
  emit changed();
  return result;
}

void Skin::setTextColor(std::optional<uint32_t> value) {
  textColor_ = value;
  emit changed();
}

uint32_t Skin::textColorValue() const {
  if (textColor_) return *textColor_;
  const QColor c = SystemTextColor();
  return ValueOfColor({c.red(), c.green(), c.blue()});
}

void Skin::applySettings(const Settings& settings) {
  textColor_ = StoredTextColor(settings);
  load(1, settings.ReadSetting("BackgroundImage"));
}

void Skin::dress(QWidget* page) {
  if (page == nullptr) return;
  // Starting from the page's default palette undoes whatever an earlier skin set.
  QPalette palette = QApplication::palette(page);
  const QColor text = textColor_ ? ColorOf(*textColor_) : SystemTextColor();
  // Greyed texts stay grey: only the enabled groups take the colour.
  palette.setColor(QPalette::Active, QPalette::WindowText, text);
  palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
  page->setPalette(palette);
  // The picture is painted rather than put in the palette: controls that take the window
  // colour for their own surfaces (tab bars, frames) would draw a picture brush as black.
  page->installEventFilter(this);
  page->update();
}

bool Skin::eventFilter(QObject* watched, QEvent* event) {
  if (on_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
    auto* page = static_cast<QWidget*>(watched);
    QPainter painter(page);
    // Tiles start at the page's corner, whatever part of it is repainted.
    painter.fillRect(static_cast<QPaintEvent*>(event)->rect(), background_);
  }
  return false;
}

}  // namespace velora
