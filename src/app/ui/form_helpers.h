#pragma once
// What the windows share: fonts given in pixels as the layouts give them, and
// the placement on the screen.

#include <QFont>
#include <QString>

class QWidget;

namespace talmeko::app::ui {

// A font whose characters are `pixels` high. Where the named family is
// missing, a metric-compatible sans serif keeps the captions inside the fixed
// control sizes; the wider default face clips them.
QFont PixelFont(const QString& family, int pixels, bool bold, bool underline = false);

// The same, sized so that its cell (ascent and descent) is `pixels` high.
QFont CellHeightFont(const QString& family, int pixels, bool bold, bool underline = false);

// Moves the window, frame included, to the middle of its screen.
void CentreOnScreen(QWidget& window);

}  // namespace talmeko::app::ui
