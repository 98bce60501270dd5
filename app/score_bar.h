#pragma once
// A score drawn as a filled bar with the number over it in four offset layers.

#include <QFont>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

namespace velora {

// Colours as 32-bit values: red in the low byte, then green, then blue.
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}

struct BarColourSet {
  std::array<uint32_t, 4> text;
  uint32_t bar;
};

// The look of a complete full run, and the look of everything else.
constexpr BarColourSet kActiveBarColours{
    {Rgb(128, 128, 255), Rgb(128, 128, 255), Rgb(128, 128, 255), Rgb(64, 64, 255)},
    Rgb(240, 240, 255)};
constexpr BarColourSet kGreyBarColours{
    {Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(64, 64, 64)},
    Rgb(240, 240, 240)};

class ScoreBar : public QWidget {
  Q_OBJECT

 public:
  explicit ScoreBar(QWidget* parent = nullptr);

  // Also sets the text to the number.
  void setValue(int32_t value);
  void setMaximum(int32_t maximum);
  void setText(const QString& text);
  void setTextColours(uint32_t c1, uint32_t c2, uint32_t c3, uint32_t c4);
  void setBarColour(uint32_t colour);
  void setColours(const BarColourSet& colours);
  // Tenths of a point.
  void setFontSize(int tenths);

  int32_t value() const { return value_; }
  int32_t maximum() const { return maximum_; }
  const QString& text() const { return text_; }
  const std::array<uint32_t, 4>& textColours() const { return textColours_; }
  uint32_t barColour() const { return barColour_; }
  int fontSize() const { return fontSize_; }
  QFont textFont() const;
  // The room the text has inside the bar, its four layers' offsets taken off.
  QSize textRoom() const;

  // Tall enough for the text at its font, wide enough for it beside the origin.
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

  // The width of the filled part for a bar width: width x value / maximum, at most width, none
  // for a negative value (or a maximum that is not positive).
  static int FillWidth(int width, int32_t value, int32_t maximum);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int32_t value_ = 0;
  int32_t maximum_ = 10000;
  QString text_;
  std::array<uint32_t, 4> textColours_ = kActiveBarColours.text;
  uint32_t barColour_ = kActiveBarColours.bar;
  int fontSize_ = 240;
  QPoint textOrigin_{4, 0};
};

}  // namespace velora
