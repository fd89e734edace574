#include "app/ui/form_helpers.h"

#include <QFontMetricsF>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace talmeko::app::ui {

QFont PixelFont(const QString& family, int pixels, bool bold, bool underline) {
  QFont font(family);
  font.setFamilies({family, QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

// The cell grows in proportion to the character height, so one measurement
// at a large size finds the character height that gives the cell.
QFont CellHeightFont(const QString& family, int pixels, bool bold, bool underline) {
  constexpr int kProbe = 100;
  const QFontMetricsF probe(PixelFont(family, kProbe, bold));
  const int characterHeight = static_cast<int>(std::lround(pixels * kProbe / probe.height()));
  return PixelFont(family, std::max(1, characterHeight), bold, underline);
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

}  // namespace talmeko::app::ui
