#pragma once
// The fixed Russian texts of the list logic, in Windows-1251. The source
// keeps them readable in UTF-8; each is converted once, on first use.

#include <string>

#include "platform/cp1251.h"

namespace talmeko::app::texts {

inline const std::string& Duplicate() {
  static const std::string text = platform::Utf8ToCp1251("Такой цвет уже введён");
  return text;
}

inline const std::string& NotInPalette() {
  static const std::string text = platform::Utf8ToCp1251("Такого цвета нет в палитре");
  return text;
}

inline const std::string& ConfirmClear() {
  static const std::string text = platform::Utf8ToCp1251("Подтверждаете очистку?");
  return text;
}

inline const std::string& ColourSetFilterPrefix() {
  static const std::string text = platform::Utf8ToCp1251("Набор цветов для ");
  return text;
}

}  // namespace talmeko::app::texts
