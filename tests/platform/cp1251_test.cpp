#include "platform/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace talmeko::platform {
namespace {

// glibc's converter is the reference; it leaves byte 0x98 unassigned.
std::u16string IconvDecode(unsigned char byte, bool& ok) {
  iconv_t cd = iconv_open("UTF-16LE", "CP1251");
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = 1;
  size_t outLeft = sizeof out;
  ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  std::u16string result;
  for (char* p = out; p + 1 < outPtr; p += 2) {
    result += static_cast<char16_t>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
  }
  return result;
}

TEST(Cp1251, EveryByteDecodesAsGlibcDoesAndEncodesBack) {
  for (int b = 0; b < 256; ++b) {
    bool ok = false;
    const std::u16string reference = IconvDecode(static_cast<unsigned char>(b), ok);
    const char16_t ours = Cp1251ToUnicode(static_cast<unsigned char>(b));
    if (ok) {
      ASSERT_EQ(reference.size(), 1u) << b;
      EXPECT_EQ(ours, reference[0]) << "byte " << b;
    } else {
      EXPECT_EQ(b, 0x98);
      EXPECT_EQ(ours, u'\u0098');
    }
    EXPECT_EQ(static_cast<unsigned char>(UnicodeToCp1251(ours)), b) << "byte " << b;
  }
}

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(EncodeCp1251(u"a\u00E9b"), "a?b");
  EXPECT_EQ(EncodeCp1251(u"\U0001F600"), "?");      // a surrogate pair is one character
  EXPECT_EQ(EncodeCp1251(std::u16string(1, u'\xD800')), "?");
}

TEST(Cp1251, Utf8RoundTripOfCyrillic) {
  const std::string cp = "\xCF\xCD\xCA \xE8\xEC. \xCA\xE8\xF0\xEE\xE2\xE0";  // ПНК им. Кирова
  EXPECT_EQ(Cp1251ToUtf8(cp), "ПНК им. Кирова");
  EXPECT_EQ(Utf8ToCp1251("ПНК им. Кирова"), cp);
}

TEST(Cp1251, Utf16ToUtf8JoinsPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(u"\u041A\u0438\u0440\u043E\u0432"), "Киров");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

TEST(Cp1251, IllFormedUtf8BecomesQuestionMarks) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"\xFF", "?"},                 // never a lead byte
      {"\xD0", "?"},                 // truncated at the end
      {"\xD0" "a", "?a"},            // continuation missing
      {"\xC0\xAF", "?"},             // overlong form of "/"
      {"\xED\xA0\x80", "?"},         // encoded surrogate
      {"\xF0\x9F\x98\x80", "?"},     // outside the code page
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1251(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace talmeko::platform
