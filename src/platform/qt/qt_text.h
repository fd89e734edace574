#pragma once
// Text crosses between the program and Qt only here, through the one codec.

#include <QString>

#include <string>
#include <string_view>

namespace talmeko::platform::qt {

QString FromCp1251(std::string_view bytes);
QString FromUtf16(std::u16string_view text);

// Characters Windows-1251 cannot hold become '?'.
std::string ToCp1251(const QString& text);
std::u16string ToUtf16(const QString& text);

}  // namespace talmeko::platform::qt
