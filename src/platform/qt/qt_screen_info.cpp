#include "platform/qt/qt_screen_info.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cmath>

namespace talmeko::platform::qt {
namespace {

Color FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }

}  // namespace

ScreenInfo CurrentScreenInfo(const QWidget* widget) {
  ScreenInfo info;
  const QPalette palette = widget ? widget->palette() : QApplication::palette();
  // The window background of the system palette is the colour behind text in
  // documents and lists, which Qt calls the base colour; its window colour is
  // the face of dialogs.
  info.windowColor = FromQColor(palette.color(QPalette::Active, QPalette::Base));
  info.windowTextColor = FromQColor(palette.color(QPalette::Active, QPalette::Text));
  info.btnShadowColor = FromQColor(palette.color(QPalette::Active, QPalette::Dark));
  info.btnHighlightColor = FromQColor(palette.color(QPalette::Active, QPalette::Light));

  const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen) info.pixelsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInchY()));

  const QStyle* style = widget ? widget->style() : QApplication::style();
  if (style) {
    const int extent = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
    info.verticalScrollBarWidth = extent;
    info.horizontalScrollBarHeight = extent;
  }
  info.wheelScrollLines = QApplication::wheelScrollLines();
  return info;
}

}  // namespace talmeko::platform::qt
