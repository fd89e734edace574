#include "catalogue/brands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_tables.h"
#include "platform/cp1251.h"

namespace talmeko::catalogue {
namespace {

TEST(BrandKeys, FifteenKeysInBrandOrderWithTheirDisplayNames) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"dmc", "DMC"},         {"gamma", "Гамма"},           {"anchor", "Anchor"},
      {"madeira", "Madeira"}, {"mayflower", "MayFlower"},   {"dome", "DOME"},
      {"kirov", "ПНК им. Кирова"}, {"jp", "JP Coats"},      {"finca", "Finca"},
      {"anchorwool", "AnchorWool"}, {"paternayanwool", "PaternayanWool"}, {"ariadna", "Ariadna"},
      {"semco", "Semco"},     {"belka", "Belka"},           {"bestex", "Bestex"}};
  ASSERT_EQ(expected.size(), kBrandCount);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(kBrandKeys[i], expected[i].first);
    EXPECT_EQ(BrandIndex(expected[i].first), i);
    EXPECT_EQ(BrandDisplayName(expected[i].first), platform::Utf8ToCp1251(expected[i].second));
  }
}

TEST(BrandKeys, KeysAreComparedExactly) {
  for (const std::string_view key : {"DMC", "*dmc", " dmc", "dmc ", "", "Kirov"}) {
    EXPECT_FALSE(BrandIndex(key)) << key;
    EXPECT_FALSE(BrandDisplayName(key)) << key;
    EXPECT_FALSE(IsTableBrand(key)) << key;
  }
  for (const std::string_view key : kTableBrands) EXPECT_TRUE(IsTableBrand(key)) << key;
  EXPECT_FALSE(IsTableBrand("dome"));
}

TEST(BrandKeys, ChooserIndexesFollowTheirOwnOrder) {
  const std::vector<std::string_view> expected = {"dmc",   "gamma",      "anchor",         "madeira", "kirov",
                                                  "dome",  "mayflower",  "jp",             "finca",   "anchorwool",
                                                  "paternayanwool", "ariadna", "semco", "belka", "bestex"};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(ChooserBrandKey(i), expected[static_cast<std::size_t>(i)]) << i;
  EXPECT_FALSE(ChooserBrandKey(-1));
  EXPECT_FALSE(ChooserBrandKey(15));
}

TEST(NumberNormalisation, DropsLineBreaksAndLeadingZerosOnly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0420", "420"},   {"0101", "101"}, {"1000", "1000"}, {"0", ""},          {"00", ""},
      {"B5200", "B5200"}, {"00A0", "A0"}, {" 05", " 05"},   {"162\n", "162"},   {"0\r\n05", "5"},
      {"1\r0", "10"},    {"\n", ""},      {"", ""},         {"ecru", "ecru"},   {"0 0", " 0"}};
  for (const auto& [input, output] : cases) EXPECT_EQ(NormalizeNumber(input), output) << input;
}

TEST(NumberNormalisation, SameNumberAgreesWithComparingNormalisedTexts) {
  const std::vector<std::string> samples = {"",   "0",    "00",   "101",  "0101", "101\n", "\n0101", "1010",
                                            "10", "B5200", "b5200", " 05", "05",   "5",     "0\r5",   "50"};
  for (const std::string& a : samples) {
    for (const std::string& b : samples) {
      EXPECT_EQ(SameNumber(a, b), NormalizeNumber(a) == NormalizeNumber(b)) << '"' << a << "\" \"" << b << '"';
    }
  }
}

TEST(NumberLists, FirstNumberAndAppending) {
  EXPECT_EQ(FirstNumber("319,210"), "319");
  EXPECT_EQ(FirstNumber("310"), "310");
  EXPECT_EQ(FirstNumber(",5"), "");
  EXPECT_EQ(FirstNumber(""), "");
  std::string list;
  AppendNumber(list, "ecru");
  EXPECT_EQ(list, "ecru");
  AppendNumber(list, "712");
  AppendNumber(list, "3866");
  EXPECT_EQ(list, "ecru,712,3866");
}

TEST(ColourCodes, FindColorCodeLooksUpTheFirstNumberOnly) {
  const Tables& tables = testing::FixtureTables();
  EXPECT_EQ(FindColorCode(tables, "0319,0420", "gamma"), "#46a42e");
  EXPECT_EQ(FindColorCode(tables, "420,319", "gamma"), "#000000");
  EXPECT_EQ(FindColorCode(tables, "B5200", "dmc"), "#fafafa");
  EXPECT_EQ(FindColorCode(tables, "b5200", "dmc"), "");
  EXPECT_EQ(FindColorCode(tables, "ecru,712,3866", "dmc"), "");
  EXPECT_EQ(FindColorCode(tables, "101", "madeira"), "#F9F7DB");
  EXPECT_EQ(FindColorCode(tables, "0101", "madeira"), "#F9F7DB");
  EXPECT_EQ(FindColorCode(tables, "602", "dmc"), "#E64281");
  EXPECT_EQ(FindColorCode(tables, "5270", "dmc"), "A21B22");
  EXPECT_EQ(FindColorCode(tables, "310", "DMC"), "");
  EXPECT_EQ(FindColorCode(tables, "", "dmc"), "");
}

TEST(ColourCodes, HtmlToColorReadsPairsUntilTheFirstNonHexDigit) {
  struct Case {
    std::string text;
    bool converts;
    std::uint32_t value;
  };
  const std::vector<Case> cases = {
      {"#FF8000", true, 33023},  {"#ff8000", true, 33023},    {"#000000", true, 0},
      {"#FFFFFF", true, 0xFFFFFF}, {"#GG0000", true, 0},       {"#5G0000", true, 5},
      {"#0000G5", true, 0},      {"#00000F", true, 0xF0000},  {"#fafafa", true, 0xFAFAFA},
      {"#1D1C1E", true, 0x1E1C1D}, {"A21B22", false, 0},       {"#FFFFFFF", false, 0},
      {"", false, 0},            {"FF8000#", false, 0},       {"#FF800", false, 0}};
  for (const Case& c : cases) {
    std::uint32_t color = 0xDEADBEEF;
    EXPECT_EQ(HTMLToColor(c.text, color), c.converts) << c.text;
    EXPECT_EQ(color, c.converts ? c.value : 0xDEADBEEF) << c.text;
  }
}

TEST(ColourCodes, DistanceSumsTheComponentDifferences) {
  std::uint32_t white = 0, black = 0, a = 0, b = 0;
  ASSERT_TRUE(HTMLToColor("#FFFFFF", white));
  ASSERT_TRUE(HTMLToColor("#000000", black));
  ASSERT_TRUE(HTMLToColor("#FFC2B1", a));
  ASSERT_TRUE(HTMLToColor("#FDAC90", b));
  EXPECT_EQ(ColorDistance(white, black), 765);
  EXPECT_EQ(ColorDistance(black, white), 765);
  EXPECT_EQ(ColorDistance(a, b), 57);
  EXPECT_EQ(ColorDistance(b, a), 57);
  EXPECT_EQ(ColorDistance(a, a), 0);
  EXPECT_EQ(ColorDistance(0x0000FF, 0xFF0000), 510);
}

}  // namespace
}  // namespace talmeko::catalogue
