#include "platform/qt/qt_text.h"

#include "platform/cp1251.h"

namespace talmeko::platform::qt {

QString FromCp1251(std::string_view bytes) { return FromUtf16(DecodeCp1251(bytes)); }

QString FromUtf16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToCp1251(const QString& text) { return EncodeCp1251(ToUtf16(text)); }

std::u16string ToUtf16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

}  // namespace talmeko::platform::qt
