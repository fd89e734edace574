#pragma once
// The window-system services the main window asks for: message boxes, the
// confirmation and opening an address in the user's browser. Texts are
// Windows-1251.

#include <QString>

#include <memory>
#include <string_view>

class QMessageBox;
class QWidget;

namespace talmeko::platform::qt {

// The executable's name without directory and extension, its first character
// kept as it is and the rest in lower case ("/opt/TALMEKO.bin" gives "Talmeko").
QString ApplicationTitle(const QString& executablePath);
QString ApplicationTitle();

// A modal box captioned with the application title: the text, one "OK" button, no icon.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, std::string_view text);
void ShowMessage(QWidget* parent, std::string_view text);

// "Confirm" with a question icon, "&Yes" as the default and "&No", which Escape answers.
std::unique_ptr<QMessageBox> MakeConfirmation(QWidget* parent, std::string_view text);
// True when the user answered Yes.
bool Confirm(QWidget* parent, std::string_view text);

// False when no browser could be asked to open it.
bool OpenAddress(std::string_view url);

}  // namespace talmeko::platform::qt
