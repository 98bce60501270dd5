#include "app/score_bar.h"

#include <QPainter>
#include <algorithm>

namespace velora {
namespace {

QColor ColourOf(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

void OutlinedBox(QPainter& painter, const QRect& box, const QColor& inside) {
  painter.fillRect(box, inside);
  painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), Qt::black);
  painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), Qt::black);
  painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), Qt::black);
  painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), Qt::black);
}

}  // namespace

ScoreBar::ScoreBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScoreBar::setValue(int32_t value) {
  value_ = value;
  text_ = QString::number(value);
  updateGeometry();
  update();
}

void ScoreBar::setMaximum(int32_t maximum) {
  maximum_ = maximum;
  update();
}

void ScoreBar::setText(const QString& text) {
  text_ = text;
  updateGeometry();
  update();
}

void ScoreBar::setTextColours(uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4) {
  textColours_ = {c1, c2, c3, c4};
  update();
}

void ScoreBar::setBarColour(uint32_t colour) {
  barColour_ = colour;
  update();
}

void ScoreBar::setColours(const BarColourSet& colours) {
  textColours_ = colours.text;
  barColour_ = colours.bar;
  update();
}

void ScoreBar::setFontSize(int tenths) {
  fontSize_ = tenths;
  updateGeometry();
  update();
}

QFont ScoreBar::textFont() const {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(fontSize_ / 10.0);
  return font;
}

QSize ScoreBar::textRoom() const {
  // The last layer stands one pixel right of and below the first.
  return QSize(width() - textOrigin_.x() - 1, height() - textOrigin_.y() - 1);
}

QSize ScoreBar::minimumSizeHint() const {
  const QFontMetrics metrics(textFont(), this);
  return QSize(textOrigin_.x() + metrics.horizontalAdvance(text_) + 1 + 2,
               textOrigin_.y() + metrics.height() + 1);
}

QSize ScoreBar::sizeHint() const { return minimumSizeHint(); }

int ScoreBar::FillWidth(int width, int32_t value, int32_t maximum) {
  // A maximum of 0 would divide by zero; a wide bar times a large score overflows 32 bits.
  if (value < 0 || maximum <= 0 || width <= 0) return 0;
  const int64_t fill = static_cast<int64_t>(width) * value / maximum;
  return static_cast<int>(std::min<int64_t>(fill, width));
}

void ScoreBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int w = width();
  const int h = height();
  // Outlines cover the pixels from the left edge to the right edge minus one, both included,
  // as a rectangle of the given size does on a device context. They are filled as strips a
  // pixel wide rather than stroked: at a fractional scale a stroked edge can round to a row
  // outside the bar and vanish.
  OutlinedBox(painter, QRect(0, 0, w, h), Qt::white);
  const int fill = FillWidth(w, value_, maximum_);
  if (fill > 0) OutlinedBox(painter, QRect(0, 0, fill, h), ColourOf(barColour_));

  painter.setFont(textFont());
  const QPoint offsets[4] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  for (int layer = 0; layer < 4; ++layer) {
    painter.setPen(ColourOf(textColours_[static_cast<size_t>(layer)]));
    const QPoint at = textOrigin_ + offsets[layer];
    painter.drawText(QRect(at.x(), at.y(), std::max(w, 1) * 4, std::max(h, 1) * 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
  }
}

}  // namespace velora
