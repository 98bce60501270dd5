#pragma once
// The window's skin: a background picture tiled behind every page and a colour for the pages'
// static texts. One per window; the pages are dressed through their palettes, so a page needs
// nothing of its own to take the skin.

#include <QBrush>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

#include "core/dib_image.h"
#include "core/settings.h"

class QWidget;

namespace velora {

class Skin : public QObject {
  Q_OBJECT

 public:
  // Mode 1 loads the picture (BMP, then PNG, then any picture Qt reads) and turns the skin on;
  // any other mode, or an empty path, turns it off. The old picture is released first, in every
  // case. 1 when a picture was loaded, else 0 and the skin stays off.
  int load(int mode, const std::string& path);

  bool on() const { return on_; }
  const DibImage& image() const { return image_; }
  const QBrush& background() const { return background_; }
  // Why each loader refused the last picture; empty after a success.
  const std::string& lastError() const { return error_; }

  // None: the system's window-text colour.
  void setTextColor(std::optional<uint32_t> value);
  std::optional<uint32_t> storedTextColor() const { return textColor_; }
  // The colour the texts are drawn in, as a colour value.
  uint32_t textColorValue() const;

  // The start-up: "BackgroundImage" and "TextColor".
  void applySettings(const Settings& settings);

  // The colouring rule on one page: with the skin on, the picture is tiled over the page's
  // background before the page paints; texts drawn on the page (labels, group titles, check
  // boxes, tab captions) take the text colour and have no background of their own, so the
  // picture shows through. Fields, lists and buttons keep their own colours. Calling it again
  // after a change replaces what the last call set.
  void dress(QWidget* page);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 signals:
  // The picture or the text colour changed: pages are to be dressed again.
  void changed();

 private:
  bool on_ = false;
  DibImage image_;
  QBrush background_;
  std::optional<uint32_t> textColor_;
  std::string error_;
};

}  // namespace velora
