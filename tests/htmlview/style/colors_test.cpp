#include "htmlview/style/colors.h"
#include "htmlview/style/lengths.h"

#include <gtest/gtest.h>

#include <string>

namespace talmeko::htmlview {
namespace {

constexpr platform::Color kUntouched = 0x12345678;

TEST(ColorParsing, HexCodesNamesAndFailures) {
  struct Case {
    std::string text;
    bool needsHash;
    bool ok;
    platform::Color color;
  } cases[] = {
      {"#ff8800", true, true, 0x0088FF},
      {"#FF8800", true, true, 0x0088FF},
      {"#f80", true, true, 0x0088FF},      // three digits are doubled
      {"  #FF8800 ", true, true, 0x0088FF},
      {"#000000", true, true, 0x000000},
      {"#fafafa", true, true, 0xFAFAFA},
      {"A21B22", true, false, kUntouched},   // a metallic code without "#"
      {"A21B22", false, true, 0x221BA2},
      {"", true, false, kUntouched},
      {"#", true, false, kUntouched},
      {"#xyz", true, false, kUntouched},
      {"transparent", true, true, platform::kNoColor},
      {"red", true, true, 0x0000FF},
      {"rgb(255,128,0)", true, true, 0x0080FF},
  };
  for (const auto& c : cases) {
    platform::Color color = kUntouched;
    EXPECT_EQ(ColorFromString(c.text, c.needsHash, color), c.ok) << c.text;
    EXPECT_EQ(color, c.color) << c.text;
  }
}

TEST(ColorParsing, OneEntryCacheDoesNotLeakTheNeedsHashDecision) {
  platform::Color color = kUntouched;
  ASSERT_TRUE(ColorFromString("A21B22", false, color));
  color = kUntouched;
  EXPECT_FALSE(ColorFromString("A21B22", true, color));
  EXPECT_EQ(color, kUntouched);
}

TEST(LengthConversion, UnitsAtNinetySixPixelsPerInch) {
  const TLengthContext ctx;
  struct Case {
    std::string text;
    int base;
    bool ok;
    int pixels;
  } cases[] = {
      {"50px", 0, true, 50}, {"50", 0, true, 50},  {"12pt", 0, true, 16}, {"1in", 0, true, 96},
      {"2.54cm", 0, true, 96}, {"1pc", 0, true, 16}, {"2em", 0, true, 32}, {"50%", 300, true, 150},
      {"auto", 0, false, -1},  {"", 0, false, -1},  {"px", 0, false, -1},
  };
  for (const auto& c : cases) {
    int pixels = -1;
    EXPECT_EQ(LengthToPixels(c.text, c.base, ctx, pixels), c.ok) << c.text;
    EXPECT_EQ(pixels, c.pixels) << c.text;
  }
}

TEST(LengthConversion, HugeValuesStayInsideTheIntRange) {
  int pixels = 0;
  ASSERT_TRUE(LengthToPixels("99999999999999999999px", 0, TLengthContext{}, pixels));
  EXPECT_GT(pixels, 1000000);
  EXPECT_LT(pixels, 1 << 30);
  EXPECT_GT(RoundToPixels(-1e300), -(1 << 30) - 1);
  EXPECT_EQ(RoundToPixels(2.5), 2);
  EXPECT_EQ(RoundToPixels(3.5), 4);
}

}  // namespace
}  // namespace talmeko::htmlview
