#pragma once
// The Back page: no controls, only the page's background. The skin gives the page its
// background colour or picture through the palette's window brush, which this page paints.

#include "app/pages/page.h"

namespace velora {

class BackPage : public Page {
  Q_OBJECT

 public:
  explicit BackPage(QWidget* parent = nullptr);
};

}  // namespace velora
