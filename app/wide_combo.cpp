#include "app/wide_combo.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <algorithm>

namespace velora {

void WideCombo::showPopup() {
  // Measured at opening, so that lists filled in bulk are not measured entry by entry.
  QAbstractItemView* list = view();
  int widest = 0;
  for (int row = 0; row < count(); ++row)
    widest = std::max(widest, list->sizeHintForIndex(model()->index(row, modelColumn())).width());
  list->setMinimumWidth(widest + list->verticalScrollBar()->sizeHint().width() +
                        2 * list->frameWidth());
  QComboBox::showPopup();
}

}  // namespace velora
