// The shortcuts of the style attribute reader (short ASCII texts split by
// bit masks, backgrounds of one colour stored directly) against the general
// reader and expansion they fall back on: slots, rule marks and the texts
// put into the pool must all come out the same.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "htmlview/base/text_pool.h"
#include "htmlview/base/text_util.h"
#include "htmlview/style/colors.h"
#include "htmlview/style/fonts.h"
#include "htmlview/style/style_sheet_parser.h"
#include "platform/cp1251.h"
#include "property_description.h"
#include "style_attribute_corpus.h"

namespace talmeko::htmlview {
namespace {

const TFontInfo kCachedFont;

// A new set, one with a few values and a cached font, and one where every
// slot is set by a rule.
std::vector<TProperties> StartingSets() {
  std::vector<TProperties> sets(3);
  sets[1].Set(BackgroundColor, TPropValue::MakeInt(0x123456));
  sets[1].SetByRule(Width, TPropValue::MakeText("9px"));
  sets[1].SetCachedFont(&kCachedFont);
  for (int i = 0; i < PropCount; ++i) sets[2].SetByRule(static_cast<PropIndex>(i), TPropValue::MakeInt(i));
  sets[2].SetCachedFont(&kCachedFont);
  return sets;
}

std::string Describe(const TProperties& p, const TTextPool& pool) {
  return testing::DescribeSlots(p, true) + (p.CachedFont() ? " font" : " nofont") + " pool " +
         std::to_string(pool.BytesUsed());
}

// Empty when both ways agree; else what each gave.
std::string Difference(std::u16string_view text, const TProperties& start) {
  std::string found;
  for (const bool merge : {true, false}) {
    TTextPool fastPool;
    TTextPool plainPool;
    TProperties fast = start;
    TProperties plain = start;
    if (merge) {
      MergeStyleAttribute(text, fastPool, fast);
      MergeStyleAttributePlainly(text, plainPool, plain);
    } else {
      ParseStyleAttribute(text, fastPool, fast);
      ParseStyleAttributePlainly(text, plainPool, plain);
    }
    const std::string a = Describe(fast, fastPool);
    const std::string b = Describe(plain, plainPool);
    if (a != b) found += std::string(merge ? "merged" : "parsed") + ":\n fast  " + a + "\n plain " + b + "\n";
  }
  return found;
}

void ExpectSame(std::u16string_view text, const std::vector<TProperties>& starts) {
  for (std::size_t k = 0; k < starts.size(); ++k) {
    EXPECT_EQ(Difference(text, starts[k]), "") << platform::Utf16ToUtf8(text) << " onto set " << k;
  }
}

TEST(StyleAttributePaths, TheCorpusReadsAsTheGeneralReaderReadsIt) {
  const std::vector<TProperties> starts = StartingSets();
  for (const std::u16string_view text : testing::kStyleTexts) ExpectSame(text, starts);
}

TEST(StyleAttributePaths, BackgroundsOfOneWordAndTheirNearMisses) {
  static constexpr std::u16string_view kTexts[] = {
      u"background:red", u"background:RED", u"background:Transparent", u"background:lightgoldenrodyellow",
      u"background:lightgoldenrodyellowx", u"background:redd", u"background:re", u"background:rgb",
      u"background:hsl", u"background:none", u"background:url(x)", u"background:fixed", u"background:repeat-x",
      u"background:center", u"background:#ABC", u"background:#abc", u"background:#aBcDeF", u"background:#abcd",
      u"background:#ab", u"background:#", u"background:#abcdeg", u"background:#abcdef0", u"background:#g00",
      u"background:abcdef", u"background:  #fff  ", u"background:'#fff'", u"background:\"red\"",
      u"background:'red", u"background:#fff !important", u"background:red!important", u"background:\t#fff",
      u"background:#fff\t", u"background:#fff\r\n", u"background=#fff", u"background :#fff", u"background: ;",
      u"background:''", u"background:'", u"background:red;background:", u"background:;background:#010203",
      u"background:#fff;", u";background:#fff;;", u"background-color:#fff;background:blue",
      u"background:blue;background-color:#fff", u"background:red green", u"background:#fff #000",
      u"background:#fff/**/", u"background:/**/#fff", u"background:#f\u00e9f", u"backgr\u00f6und:#fff",
      u"background:#fff\u00a0", u"BACKGROUND:#F5F0EC;WIDTH:50PX", u"background:#f5f0ec;width:50px",
      u"background:;width:50px", u"bAcKgRoUnD:NaVy;WiDtH:1Em", u"background:#fff}", u"{background:#fff}",
  };
  const std::vector<TProperties> starts = StartingSets();
  for (const std::u16string_view text : kTexts) ExpectSame(text, starts);
}

// Every ASCII character at every place of a colour code, in both forms.
TEST(StyleAttributePaths, EveryCharacterInEveryPlaceOfAColourCode) {
  const std::vector<TProperties> starts = StartingSets();
  for (const std::u16string_view code : {std::u16string_view(u"#a1B2c3"), std::u16string_view(u"#F0e")}) {
    for (std::size_t at = 0; at < code.size(); ++at) {
      for (char16_t c = 0; c < 128; ++c) {
        std::u16string spoiled(code);
        spoiled[at] = c;
        const std::u16string text = u"background:" + spoiled + u";width:1px";
        EXPECT_EQ(Difference(text, starts[c % starts.size()]), "") << platform::Utf16ToUtf8(text);
      }
    }
  }
}

// The mask reader takes texts of up to 63 characters; every length around
// its blocks and its limit, and a character past ASCII at every position.
TEST(StyleAttributePaths, EveryLengthAndEveryPlaceOfAForeignCharacter) {
  const std::u16string base =
      u"background:#A1b2C3;width:50px;color:red;margin:0 auto;height:1px;border:1px solid;font-size:9pt";
  const std::vector<TProperties> starts = StartingSets();
  for (std::size_t length = 0; length <= base.size(); ++length) {
    const std::u16string text = base.substr(0, length);
    ExpectSame(text, starts);
    for (std::size_t at = 0; at < length; at += 3) {
      for (const char16_t foreign : {u'\u00e9', u'\xd800', u'\u0416', u'\0', u'\u00c0', u'\u0141'}) {
        std::u16string spoiled = text;
        spoiled[at] = foreign;
        EXPECT_EQ(Difference(spoiled, starts[0]), "") << platform::Utf16ToUtf8(spoiled);
      }
    }
  }
}

TEST(StyleAttributePaths, NamesAtAndPastTheLookUpsLimit) {
  static constexpr std::u16string_view kTexts[] = {
      u"abcdefghijklmnopqrstuvwx:1;width:2px",
      u"abcdefghijklmnopqrstuvwxy:1;width:2px",
      u"background-attachment:fixed;width:1px",
      u"BACKGROUND-ATTACHMENT:FIXED",
      u"page-break-inside:avoid;page-break-before:always",
      u"border-bottom-colorx:red;border-bottom-color:red",
      u"wid th:1px",
      u"width-:1px",
      u"-width:1px",
      u"w:1px;wi:1px;wid:1px;widt:1px;width:1px",
      u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
      u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa:1",
      u"color:red;aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa:width",
      u"                                                              color:red",
      u"color:red                                                       ;",
      u"color:;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;;width:1",
  };
  const std::vector<TProperties> starts = StartingSets();
  for (const std::u16string_view text : kTexts) ExpectSame(text, starts);
}

// Random declarations of real names and values, in random case, with
// spaces, separators, "!important", comments and characters that do not
// belong, mostly short enough for the mask reader and sometimes not.
std::u16string RandomAttribute(std::mt19937& rng) {
  static constexpr std::string_view kNames[] = {
      "background", "background", "background", "background-color", "width", "width", "height", "color",
      "margin", "padding", "border", "border-top", "border-color", "border-style", "border-width", "font",
      "font-size", "font-family", "font-weight", "font-variant", "list-style", "visibility", "text-transform",
      "word-wrap", "z-index", "display", "text-align", "vertical-align", "margin-left", "background-image",
      "background-position", "line-height", "nosuch", "-x-prop", "float"};
  static constexpr std::string_view kValues[] = {
      "", "#f5f0ec", "#FAFAFA", "#abc", "#ABCD", "#12345", "#1234567", "#ggg", "red", "Navy", "transparent",
      "aliceblue", "nonesuch", "50px", "0", "1.5em", "-3px", "auto", "none", "solid", "1px solid #000",
      "url(a.png)", "url( a b )", "rgb(1,2,3)", "hsl(0,50%,50%)", "no-repeat", "fixed", "left top", "bold",
      "12pt arial", "hidden", "uppercase", "break-word", "small-caps", "'quoted'", "\"red\"", "inherit"};
  static constexpr std::u16string_view kNoise[] = {
      u" ", u"  ", u"\t", u"\r\n", u";", u";;", u":", u"=", u"!important", u" !important", u"/* c */",
      u"\u00e9", u"\xd800", u"\u0416", std::u16string_view(u"\0", 1), u"'", u"\"", u"}", u"{", u"(", u")",
      u"#", u"_", u"-", u"\u00a0"};
  auto widen = [&rng](std::string_view s) {
    std::u16string out;
    const unsigned caseMode = rng() % 4;  // as written, upper, lower, mixed
    for (char c : s) {
      char16_t w = static_cast<unsigned char>(c);
      if ((caseMode == 1 || (caseMode == 3 && rng() % 2)) && c >= 'a' && c <= 'z') w = static_cast<char16_t>(c - 32);
      out += w;
    }
    return out;
  };
  auto noise = [&rng]() { return std::u16string(kNoise[rng() % std::size(kNoise)]); };
  std::u16string text;
  const int declarations = static_cast<int>(rng() % 4);
  for (int d = 0; d < declarations; ++d) {
    if (rng() % 6 == 0) text += noise();
    text += widen(kNames[rng() % std::size(kNames)]);
    if (rng() % 5 == 0) text += noise();
    text += rng() % 8 == 0 ? u"=" : u":";
    if (rng() % 5 == 0) text += noise();
    text += widen(kValues[rng() % std::size(kValues)]);
    if (rng() % 4 == 0) text += u' ' + widen(kValues[rng() % std::size(kValues)]);
    if (rng() % 6 == 0) text += noise();
    if (d + 1 < declarations || rng() % 3 == 0) text += u';';
  }
  return text;
}

TEST(StyleAttributePaths, RandomAttributesReadAsTheGeneralReaderReadsThem) {
  std::mt19937 rng(20261209);
  const std::vector<TProperties> starts = StartingSets();
  int shortOnes = 0;
  for (int round = 0; round < 12000; ++round) {
    const std::u16string text = RandomAttribute(rng);
    if (text.size() <= 63) ++shortOnes;
    const std::string difference = Difference(text, starts[round % starts.size()]);
    ASSERT_EQ(difference, "") << platform::Utf16ToUtf8(text);
  }
  // Both readers had their share.
  EXPECT_GT(shortOnes, 6000);
  EXPECT_LT(shortOnes, 11500);
}

// The colour shortcuts give what the general parse gives, and refuse what
// they do not know.
TEST(StyleAttributePaths, ColourShortcutsAgreeWithTheGeneralParse) {
  struct Case {
    std::string_view text;
    bool hexCode;
    bool name;
  } cases[] = {
      {"#f5f0ec", true, false}, {"#F5F0EC", true, false}, {"#abc", true, false}, {"#ABC", true, false},
      {"#abcd", false, false},  {"#ab", false, false},      {"#", false, false},    {"f5f0ec", false, false},
      {"#f5f0eg", false, false}, {" #fff", false, false},   {"#fff ", false, false}, {"red", false, true},
      {"transparent", false, true}, {"yellowgreen", false, true}, {"Red", false, false}, {"red ", false, false},
      {"redd", false, false},   {"", false, false},         {"rgb(1,2,3)", false, false},
  };
  for (const auto& c : cases) {
    platform::Color general = 1;
    const bool generalOk = ColorFromString(c.text, true, general);
    platform::Color hex = 1;
    EXPECT_EQ(ColorFromHexCode(c.text, hex), c.hexCode) << c.text;
    if (c.hexCode) {
      EXPECT_TRUE(generalOk && hex == general) << c.text;
    }
    platform::Color named = 1;
    EXPECT_EQ(ColorFromName(c.text, named), c.name) << c.text;
    if (c.name) {
      EXPECT_TRUE(generalOk && named == general) << c.text;
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
