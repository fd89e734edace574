#pragma once
// The screen facts of the running Qt application.

#include "platform/font_catalogue.h"

class QWidget;

namespace talmeko::platform::qt {

// The widget, when given, supplies its own palette, style and screen;
// otherwise the application's are used. Needs a running QApplication.
ScreenInfo CurrentScreenInfo(const QWidget* widget = nullptr);

}  // namespace talmeko::platform::qt
