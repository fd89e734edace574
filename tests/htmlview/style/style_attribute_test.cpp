#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <cmath>
#include <cstdlib>

#include "htmlview/base/text_pool.h"
#include "htmlview/base/text_util.h"
#include "htmlview/style/box_values.h"
#include "htmlview/style/colors.h"
#include "htmlview/style/fonts.h"
#include "htmlview/style/lengths.h"
#include "htmlview/style/shorthand.h"
#include "htmlview/style/style_sheet_parser.h"
#include "platform/cp1251.h"
#include "property_description.h"
#include "style_attribute_corpus.h"

namespace talmeko::htmlview {
namespace {

using testing::kStyleTexts;

// Every slot with its kind, the rule flags, the slots said to hold a value
// and whether a cached font is kept: all a merge can change.
std::string Describe(const TProperties& p) {
  return testing::DescribeSlots(p, true) + (p.CachedFont() ? " font" : " nofont");
}

std::uint64_t SlotsHoldingValues(const TProperties& p) {
  std::uint64_t bits = 0;
  for (int i = 0; i < PropCount; ++i) {
    if (!p[static_cast<PropIndex>(i)].HoldsNoValue()) bits |= std::uint64_t{1} << i;
  }
  return bits;
}

const TFontInfo kSomeFont;

// Sets the merges start from: new, a few values and a cached font, every
// slot set by a rule, and one where box slots were set and cleared again.
std::vector<TProperties> StartingSets() {
  std::vector<TProperties> sets(4);
  sets[1].Set(Color, TPropValue::MakeInt(0x123456));
  sets[1].SetByRule(Width, TPropValue::MakeText("9px"));
  sets[1].SetByRule(FontFamily, TPropValue::MakeText("serif"));
  sets[1].SetCachedFont(&kSomeFont);
  for (int i = 0; i < PropCount; ++i) sets[2].SetByRule(static_cast<PropIndex>(i), TPropValue::MakeReal(i + 0.5));
  sets[2].SetCachedFont(&kSomeFont);
  sets[3].Set(MarginTop, TPropValue::MakeInt(3));
  sets[3].SetByRule(ZIndex, TPropValue::MakeText("7"));
  sets[3].Clear(MarginTop);
  sets[3].Clear(ZIndex);
  sets[3].SetCachedFont(&kSomeFont);
  return sets;
}

TEST(StyleAttribute, MergingMatchesParsingIntoANewSetThenMerging) {
  const std::vector<TProperties> starts = StartingSets();
  for (const std::u16string_view text : kStyleTexts) {
    for (std::size_t k = 0; k < starts.size(); ++k) {
      SCOPED_TRACE(platform::Utf16ToUtf8(text) + " onto set " + std::to_string(k));
      TTextPool pool;
      TProperties plain = starts[k];
      TProperties parsed;
      ParseStyleAttribute(text, pool, parsed);
      plain.Merge(parsed);
      TProperties direct = starts[k];
      MergeStyleAttribute(text, pool, direct);
      EXPECT_EQ(Describe(direct), Describe(plain));
      EXPECT_EQ(direct.ValuedSlots(), SlotsHoldingValues(direct));
    }
  }
}

// The attribute scanner as first written, one character at a time into
// strings, handing each declaration to the shorthand expansion through the
// abstract sink.
void ParsePlainly(std::u16string_view text, TTextPool& pool, TProperties& props) {
  TStyleAttributeSink attributeSink(pool, props, false);
  TPropertySink& sink = attributeSink;
  std::string name;
  std::string value;
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return k < text.size() ? text[k] : u'\0'; };
  while (i < text.size()) {
    while (at(i) == u' ' || at(i) == u'\r' || at(i) == u'\n' || at(i) == u'\t') ++i;
    name.clear();
    while (IsAsciiLetter(at(i)) || IsDigit(at(i)) || at(i) == u'-') name += static_cast<char>(ToLowerAscii(text[i++]));
    while (at(i) == u' ') ++i;
    if ((at(i) == u':' || at(i) == u'=') && !name.empty()) {
      ++i;
      value.clear();
      while (i < text.size() && text[i] != u';') AppendUtf8(value, ToLowerAscii(text[i++]));
      ExpandDeclaration(name, Unquote(TrimSpaces(value)), sink);
    }
    if (at(i) == u';') ++i;
    while (i < text.size() && !IsAsciiLetter(text[i]) && !IsDigit(text[i]) && text[i] != u'-') ++i;
  }
}

TEST(StyleAttribute, ParsingMatchesThePlainScanner) {
  const std::vector<TProperties> starts = StartingSets();
  for (const std::u16string_view text : kStyleTexts) {
    for (std::size_t k = 0; k < starts.size(); ++k) {
      SCOPED_TRACE(platform::Utf16ToUtf8(text) + " into set " + std::to_string(k));
      TTextPool pool;
      TProperties plain = starts[k];
      ParsePlainly(text, pool, plain);
      TProperties fast = starts[k];
      ParseStyleAttribute(text, pool, fast);
      EXPECT_EQ(Describe(fast), Describe(plain));
    }
  }
}

// Random texts built from pieces of declarations, so that separators,
// upper case and non-ASCII characters fall at every position of the runs
// the scanner reads at once.
TEST(StyleAttribute, RandomTextsParseAsThePlainScannerParsesThem) {
  static constexpr std::u16string_view kPieces[] = {
      u"color", u"COLOR", u"width", u"Background", u"border-top", u"font", u"margin", u"x-y", u":", u"=", u";",
      u" ", u"\t", u"#", u"AbCdEf", u"12px", u"'", u"\"", u"(", u")", u"\u00e9", u"\u0416", u"\u6f22", u"\xd800",
      u"\U0001F600", u"red", u"Solid", u"url(A B)", u"/*", u"*/", u"!important", u"@", u"_", u"0", u"Z", u"[", u"{"};
  std::mt19937 rng(99);
  const std::vector<TProperties> starts = StartingSets();
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    const int pieces = static_cast<int>(rng() % 24);
    for (int k = 0; k < pieces; ++k) text += kPieces[rng() % std::size(kPieces)];
    SCOPED_TRACE(platform::Utf16ToUtf8(text));
    TTextPool pool;
    const TProperties& start = starts[round % starts.size()];
    TProperties plain = start;
    ParsePlainly(text, pool, plain);
    TProperties fast = start;
    ParseStyleAttribute(text, pool, fast);
    ASSERT_EQ(Describe(fast), Describe(plain));
    TProperties parsed;
    ParseStyleAttribute(text, pool, parsed);
    TProperties merged = start;
    merged.Merge(parsed);
    TProperties direct = start;
    MergeStyleAttribute(text, pool, direct);
    ASSERT_EQ(Describe(direct), Describe(merged));
  }
}

TEST(StyleAttribute, ValuesLongerThanTheScannersBufferAndRepeatedOnes) {
  std::u16string longFamily(u"font-family:");
  for (int i = 0; i < 300; ++i) longFamily += i % 7 == 0 ? u'\u0416' : u'A';
  longFamily += u";width:";
  longFamily += std::u16string(500, u'9');
  longFamily += u"px;font-family:'x'";
  TTextPool pool;
  TProperties plain;
  ParsePlainly(longFamily, pool, plain);
  TProperties fast;
  ParseStyleAttribute(longFamily, pool, fast);
  EXPECT_EQ(Describe(fast), Describe(plain));
  EXPECT_EQ(fast.TextOf(FontFamily), "x");
  EXPECT_EQ(fast.TextOf(Width).size(), 502u);
}

// A random set: each slot empty, not set, a number or a text, some set by
// rules, some cleared again.
TProperties RandomSet(std::mt19937& rng) {
  static constexpr std::string_view kTexts[] = {"", "a", "50px", "auto"};
  TProperties p;
  for (int i = 0; i < PropCount; ++i) {
    const auto index = static_cast<PropIndex>(i);
    const int pick = static_cast<int>(rng() % 8);
    TPropValue v;
    if (pick == 1) v = TPropValue::MakeInt(kIntNull);
    else if (pick == 2) v = TPropValue::MakeInt(static_cast<int>(rng() % 5));
    else if (pick == 3) v = TPropValue::MakeReal(1.5);
    else if (pick == 4) v = TPropValue::MakeText(kTexts[rng() % 4]);
    else if (pick >= 5) continue;
    if (rng() % 2) p.SetByRule(index, v);
    else p.Set(index, v);
    if (rng() % 6 == 0) p.Clear(index);
  }
  if (rng() % 2) p.SetCachedFont(&kSomeFont);
  return p;
}

TEST(PropertySets, MergeCopiesTheSlotsHoldingValuesAsAPlainLoopWould) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 500; ++round) {
    const TProperties target = RandomSet(rng);
    const TProperties source = RandomSet(rng);
    ASSERT_EQ(target.ValuedSlots(), SlotsHoldingValues(target));
    ASSERT_EQ(source.ValuedSlots(), SlotsHoldingValues(source));
    TProperties plain = target;
    for (int i = 0; i < PropCount; ++i) {
      const auto index = static_cast<PropIndex>(i);
      if (!source[index].HoldsNoValue()) plain.SetByRule(index, source[index]);
    }
    TProperties merged = target;
    merged.Merge(source);
    EXPECT_EQ(Describe(merged), Describe(plain)) << "round " << round;
    EXPECT_EQ(merged.ValuedSlots(), SlotsHoldingValues(merged));
  }
}

TEST(PropertySets, NewSetsHoldTheDefaults) {
  const TProperties p;
  for (int i = 0; i < PropCount; ++i) {
    const auto index = static_cast<PropIndex>(i);
    SCOPED_TRACE(std::string(PropertyName(index)));
    if (index == ZIndex) EXPECT_EQ(p[index], TPropValue::MakeInt(0));
    else if (IsBoxProp(index)) EXPECT_TRUE(p[index].IsNotSet());
    else EXPECT_TRUE(p[index].IsEmpty());
    EXPECT_FALSE(p.IsSetByRule(index));
  }
  EXPECT_EQ(p.ValuedSlots(), std::uint64_t{1} << ZIndex);
  EXPECT_EQ(p.CachedFont(), nullptr);
}

TEST(PropertySets, NamesAndSlotsLookEachOtherUp) {
  for (int i = 0; i < PropCount; ++i) {
    const auto index = static_cast<PropIndex>(i);
    PropIndex found = EmptyCells;
    ASSERT_TRUE(LookupProperty(PropertyName(index), found)) << PropertyName(index);
    EXPECT_EQ(found, index);
  }
  for (std::string_view name : {"", "Color", "colour", "border", "margin", "font", "background", "widt", "widths",
                                "-", "z-index "}) {
    PropIndex found = EmptyCells;
    EXPECT_FALSE(LookupProperty(name, found)) << name;
  }
}

// The direct path for "#rrggbb" and "#rgb" against the general one, which a
// leading space leads to.
TEST(ColorParsing, PlainHexCodesMatchTheGeneralParse) {
  std::mt19937 rng(7);
  static constexpr char kChars[] = "0123456789abcdefABCDEFgxG#-/ ";
  for (int round = 0; round < 4000; ++round) {
    std::string text = "#";
    const std::size_t digits = round % 2 ? 6 : 3;
    for (std::size_t i = 0; i < digits; ++i) {
      // Mostly hexadecimal digits, sometimes a character that spoils them.
      const std::size_t pick = rng() % (round % 5 == 0 ? sizeof(kChars) - 1 : 22);
      text += kChars[pick];
    }
    for (bool needsHash : {false, true}) {
      platform::Color direct = 1;
      platform::Color general = 1;
      const bool directOk = ColorFromString(text, needsHash, direct);
      const bool generalOk = ColorFromString(" " + text, needsHash, general);
      EXPECT_EQ(directOk, generalOk) << text;
      EXPECT_EQ(direct, general) << text;
    }
  }
}

TEST(ColorParsing, NamesInAnyCaseAndNearMisses) {
  struct Case {
    std::string_view text;
    bool ok;
    platform::Color color;
  } cases[] = {
      {"aliceblue", true, 0xfff8f0},
      {"AliceBlue", true, 0xfff8f0},
      {"yellowgreen", true, 0x32cd9a},
      {"LIGHTGOLDENRODYELLOW", true, 0xd2fafa},
      {"grey", true, 0x808080},
      {" navy\t", true, 0x800000},
      {"transparent", true, platform::kNoColor},
      {"Transparent ", true, platform::kNoColor},
      {"bluee", false, 1},
      {"blu", false, 1},
      {"light blue", false, 1},
      {"beef", true, 0xefbe00},  // no name, but four hexadecimal digits
      {"#beef", true, 0xefbe00},
      {"#red", false, 1},
      {"r\xc3\xa9" "d", false, 1},
  };
  for (const auto& c : cases) {
    platform::Color color = 1;
    EXPECT_EQ(ColorFromString(c.text, false, color), c.ok) << c.text;
    EXPECT_EQ(color, c.color) << c.text;
  }
}

// Lengths as first read: the number through strtod unless it is a whole
// number of up to 15 digits.
bool PlainLengthToPixels(std::string_view text, int base, const TLengthContext& ctx, int& pixels) {
  text = TrimSpaces(text);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  bool digits = false;
  while (i < text.size() && IsDigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
  }
  if (!digits) return false;
  double n;
  if (i - digitsStart <= 15 && text.substr(digitsStart, i - digitsStart).find('.') == std::string_view::npos) {
    n = std::strtod(std::string(text.substr(digitsStart, i - digitsStart)).c_str(), nullptr);
    if (digitsStart > 0 && text[0] == '-') n = -n;
  } else {
    n = std::strtod(std::string(text.substr(0, i)).c_str(), nullptr);
  }
  if (!std::isfinite(n)) return false;
  std::string_view unit = text.substr(i);
  while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  const double ppi = ctx.pixelsPerInch;
  double px;
  if (unit.empty() || unit == "px") px = n;
  else if (unit == "pt") px = n * ppi / 72.0;
  else if (unit == "pc") px = n * ppi / 6.0;
  else if (unit == "in") px = n * ppi;
  else if (unit == "cm") px = n * ppi / 2.54;
  else if (unit == "mm") px = n * ppi / 25.4;
  else if (unit == "em") px = n * ctx.emSize;
  else if (unit == "ex") px = n * ctx.exSize;
  else if (unit == "%") px = n * base / 100.0;
  else return false;
  pixels = RoundToPixels(px);
  return true;
}

TEST(Lengths, TheDigitScannerMatchesThePlainReading) {
  std::mt19937 rng(11);
  static constexpr std::string_view kUnits[] = {"", "px", "pt", "pc", "in", "cm", "mm", "em", "ex", "%",
                                                " px", "PX", "p", "pxx", "e3", "auto"};
  static constexpr char kNumberChars[] = "0123456789.+- ";
  const TLengthContext ctx{96, 13, 7};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const std::size_t length = rng() % (round % 10 == 0 ? 25 : 6);
    for (std::size_t k = 0; k < length; ++k) {
      text += kNumberChars[rng() % (k == 0 ? sizeof(kNumberChars) - 1 : 11)];
    }
    text += kUnits[rng() % std::size(kUnits)];
    int plain = -777;
    int fast = -777;
    EXPECT_EQ(LengthToPixels(text, 333, ctx, fast), PlainLengthToPixels(text, 333, ctx, plain)) << text;
    EXPECT_EQ(fast, plain) << text;
  }
}

// The box as first computed: every slot read, whether it holds a value or
// not.
TBoxValues PlainBoxValues(const TProperties& props, int baseWidth, int pixelsPerInch) {
  const double emPixels = props.FontSizePoints(12) * pixelsPerInch / 72.0;
  const TLengthContext ctx{pixelsPerInch, emPixels, emPixels / 2};
  auto side = [](PropIndex top, int s) { return static_cast<PropIndex>(top + s); };
  TBoxValues b;
  for (int s = 0; s < 4; ++s) {
    const TPropValue& m = props[side(MarginTop, s)];
    b.marginAuto[s] = m.Text() == "auto" && (s == sLeft || s == sRight);
    b.marginSet[s] = ValueToPixels(m, baseWidth, ctx, b.margin[s]);
    b.paddingSet[s] = ValueToPixels(props[side(PaddingTop, s)], baseWidth, ctx, b.padding[s]);
    if (b.padding[s] < 0) b.padding[s] = 0;
    const int style = BorderStyleOf(props, static_cast<TSide>(s));
    b.borderStyleSet[s] = style >= 0;
    b.borderStyle[s] = style > 0 ? style : bssNone;
    if (b.borderStyle[s] != bssNone) {
      const TPropValue& w = props[side(BorderTopWidth, s)];
      const std::string_view t = w.Text();
      if (t == "thin") b.borderWidth[s] = 2;
      else if (t == "medium") b.borderWidth[s] = 4;
      else if (t == "thick") b.borderWidth[s] = 6;
      else if (!ValueToPixels(w, baseWidth, ctx, b.borderWidth[s])) b.borderWidth[s] = 4;
      if (b.borderWidth[s] < 0) b.borderWidth[s] = 0;
    }
    const TPropValue& c = props[side(BorderTopColor, s)];
    if (c.IsInt() && !c.IsNotSet()) b.borderColor[s] = static_cast<platform::Color>(c.Int());
  }
  b.widthAuto = props[Width].Text() == "auto";
  b.widthSet = ValueToPixels(props[Width], baseWidth, ctx, b.width);
  b.heightSet = ValueToPixels(props[Height], baseWidth, ctx, b.height);
  return b;
}

std::string Describe(const TBoxValues& b) {
  std::string s;
  for (int k = 0; k < 4; ++k) {
    s += std::to_string(b.margin[k]) + (b.marginSet[k] ? "s" : "") + (b.marginAuto[k] ? "a" : "") + " " +
         std::to_string(b.padding[k]) + (b.paddingSet[k] ? "s" : "") + " " + std::to_string(b.borderWidth[k]) + "/" +
         std::to_string(b.borderStyle[k]) + (b.borderStyleSet[k] ? "s" : "") + "/" + std::to_string(b.borderColor[k]) +
         " | ";
  }
  return s + std::to_string(b.width) + (b.widthSet ? "s" : "") + (b.widthAuto ? "a" : "") + " " +
         std::to_string(b.height) + (b.heightSet ? "s" : "");
}

TEST(BoxValues, ReadingOnlyTheSlotsHoldingValuesMatchesReadingThemAll) {
  std::mt19937 rng(5);
  static constexpr std::string_view kTexts[] = {"auto", "10px", "-4px", "50%", "2em", "thin", "thick", "medium",
                                                "solid", "none", "hidden", "dotted", "bogus", "", "3"};
  for (int round = 0; round < 3000; ++round) {
    TProperties p;
    if (rng() % 3 == 0) p.Set(FontSize, TPropValue::MakeReal(static_cast<double>(rng() % 30)));
    for (int i = kFirstBoxProp; i <= kLastBoxProp; ++i) {
      const auto index = static_cast<PropIndex>(i);
      switch (rng() % 7) {
        case 0: p.Set(index, TPropValue::MakeText(kTexts[rng() % std::size(kTexts)])); break;
        case 1: p.Set(index, TPropValue::MakeInt(static_cast<int>(rng() % 40) - 10)); break;
        case 2: p.Set(index, TPropValue::MakeReal(2.5)); break;
        case 3: p.Set(index, TPropValue()); break;
        case 4: p.Clear(index); break;
        default: break;
      }
    }
    const int base = static_cast<int>(rng() % 800);
    EXPECT_EQ(Describe(GetBoxValues(p, base, 96)), Describe(PlainBoxValues(p, base, 96))) << "round " << round;
  }
}

TEST(TextPool, TextsOfEverySizeStayIntactAndAreCounted) {
  TTextPool pool;
  std::vector<std::pair<std::string, std::string_view>> stored;
  std::size_t total = 0;
  std::mt19937 rng(3);
  for (int i = 0; i < 3000; ++i) {
    const std::size_t size = i % 100 == 0 ? 5000 + rng() % 20000 : rng() % 40;
    std::string text(size, static_cast<char>('a' + i % 26));
    stored.emplace_back(text, pool.Store(text));
    total += size;
  }
  for (const auto& [text, view] : stored) ASSERT_EQ(view, text);
  EXPECT_EQ(pool.BytesUsed(), total);
  EXPECT_EQ(pool.Store("").size(), 0u);
}

}  // namespace
}  // namespace talmeko::htmlview
