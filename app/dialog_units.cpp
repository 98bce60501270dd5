#include "app/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace velora {

DialogUnits::DialogUnits(const QFont& font) {
  QFontMetrics metrics(font);
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  // The average over both cases, rounded, as the template conversion takes it.
  averageWidth_ = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
  height_ = metrics.height();
}

}  // namespace velora
