#pragma once
// Dialog units at a font, converted the way dialog templates are: a horizontal unit is a
// quarter of the average character width, a vertical unit an eighth of the character height.

#include <QFont>
#include <QRect>
#include <QSize>

namespace velora {

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int x(int units) const { return units * averageWidth_ / 4; }
  int y(int units) const { return units * height_ / 8; }
  QSize size(int width, int height) const { return QSize(x(width), y(height)); }
  QRect rect(int left, int top, int width, int height) const {
    return QRect(x(left), y(top), x(width), y(height));
  }

 private:
  int averageWidth_;
  int height_;
};

}  // namespace velora
