#include "app/pages/back_page.h"

namespace velora {

BackPage::BackPage(QWidget* parent) : Page(10, parent) {
  // The whole page shows the window brush: where the skin's colouring will land.
  setAutoFillBackground(true);
}

}  // namespace velora
