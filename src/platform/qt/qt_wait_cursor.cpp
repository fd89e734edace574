#include "platform/qt/qt_wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace talmeko::platform::qt {

WaitCursorGuard::WaitCursorGuard() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

WaitCursorGuard::~WaitCursorGuard() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace talmeko::platform::qt
