#include "platform/qt/qt_text.h"

#include <gtest/gtest.h>

namespace talmeko::platform::qt {
namespace {

TEST(QtText, Cp1251CyrillicCrossesBothWays) {
  const std::string kirov = "\xCF\xCD\xCA \xE8\xEC. \xCA\xE8\xF0\xEE\xE2\xE0";  // ПНК им. Кирова
  const QString q = FromCp1251(kirov);
  EXPECT_EQ(q, QString::fromUtf8("ПНК им. Кирова"));
  EXPECT_EQ(ToCp1251(q), kirov);
}

TEST(QtText, CharactersOutsideCp1251BecomeQuestionMarks) {
  EXPECT_EQ(ToCp1251(QString::fromUtf8("a\xE2\x82\xAC" "b\xE4\xB8\xAD" "c\xF0\x9F\x98\x80")), "a\x88" "b?c?");
}

TEST(QtText, Utf16IsCarriedUnchanged) {
  const std::u16string text = u"Кирова \u4E2D \U0001F600";
  EXPECT_EQ(ToUtf16(FromUtf16(text)), text);
  EXPECT_EQ(FromUtf16(text).size(), static_cast<qsizetype>(text.size()));
}

}  // namespace
}  // namespace talmeko::platform::qt
