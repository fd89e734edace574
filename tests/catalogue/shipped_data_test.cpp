#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "catalogue/brands.h"
#include "catalogue/conversion.h"
#include "equivalents_text.h"
#include "fixture_tables.h"

namespace talmeko::catalogue {
namespace {

using testing::Describe;
using testing::ExactWithPass;
using testing::ShippedTables;

std::string Line(const Palette& p) { return p.Brand + ':' + p.Number + ':' + p.Code + ':' + p.Name; }
std::string Line(const Accord& a) { return a.BrandA + ':' + a.NumberA + ':' + a.BrandB + ':' + a.NumberB; }

bool AllDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsHexCode(const std::string& code) {
  return code.size() == 7 && code[0] == '#' &&
         std::all_of(code.begin() + 1, code.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

bool IsUpperCase(const std::string& s) {
  return std::none_of(s.begin(), s.end(), [](unsigned char c) { return std::islower(c) != 0; });
}

std::vector<const Palette*> Block(std::string_view brand) {
  std::vector<const Palette*> block;
  for (const Palette& p : ShippedTables().PaletteTable()) {
    if (p.Brand == brand) block.push_back(&p);
  }
  return block;
}

std::size_t FindAccord(std::string_view line) {
  const auto& accord = ShippedTables().AccordTable();
  for (std::size_t i = 0; i < accord.size(); ++i) {
    if (Line(accord[i]) == line) return i;
  }
  return accord.size();
}

TEST(ShippedData, SourcesAreLinesEndedByCarriageReturnLineFeed) {
  for (const std::string_view source : {BuiltinPaletteSource(), BuiltinAccordSource()}) {
    ASSERT_GE(source.size(), 2u);
    EXPECT_EQ(source.substr(source.size() - 2), "\r\n");
  }
  const auto crlf = [](std::string_view s) {
    std::size_t n = 0;
    for (std::size_t at = s.find("\r\n"); at != std::string_view::npos; at = s.find("\r\n", at + 2)) ++n;
    return n;
  };
  EXPECT_EQ(ShippedTables().PaletteTable().size(), crlf(BuiltinPaletteSource()));
  EXPECT_EQ(ShippedTables().AccordTable().size(), crlf(BuiltinAccordSource()));
}

TEST(ShippedData, PaletteBlocksAreContiguousAndInOrder) {
  std::vector<std::string> order;
  for (const Palette& p : ShippedTables().PaletteTable()) {
    EXPECT_EQ(p.Name.find(':'), std::string::npos) << Line(p);
    if (order.empty() || order.back() != p.Brand) order.push_back(p.Brand);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"anchor", "dmc", "gamma", "madeira", "kirov"}));
}

TEST(ShippedData, PaletteNumbersAndCodesHaveTheirBlockFormats) {
  for (const Palette* p : Block("anchor")) {
    EXPECT_TRUE(AllDigits(p->Number) && p->Number.size() <= 4 && p->Number[0] != '0') << Line(*p);
    EXPECT_TRUE(IsHexCode(p->Code) && IsUpperCase(p->Code)) << Line(*p);
  }
  for (const std::string_view brand : {"gamma", "madeira", "kirov"}) {
    for (const Palette* p : Block(brand)) {
      EXPECT_TRUE(AllDigits(p->Number) && p->Number.size() == 4) << Line(*p);
      EXPECT_TRUE(IsHexCode(p->Code)) << Line(*p);
      EXPECT_EQ(p->Name, "") << Line(*p);
    }
  }
  const auto dmc = Block("dmc");
  ASSERT_GE(dmc.size(), 3u);
  EXPECT_EQ(dmc[0]->Number, "B5200");
  EXPECT_EQ(dmc[1]->Number, "Ecru");
  EXPECT_EQ(dmc[2]->Number, "White");
  for (std::size_t i = 3; i < dmc.size(); ++i) {
    const Palette& p = *dmc[i];
    EXPECT_TRUE(AllDigits(p.Number) && p.Number.size() >= 2 && p.Number[0] != '0') << Line(p);
    if (p.Number == "5270") {
      EXPECT_EQ(Line(p), "dmc:5270:A21B22:metalic red");
      EXPECT_TRUE(IsHexCode(dmc[i - 1]->Code));
    } else {
      EXPECT_TRUE(IsHexCode(p.Code)) << Line(p);
    }
  }
}

TEST(ShippedData, StatedPaletteLinesAndColours) {
  std::vector<std::string> lines;
  for (const Palette& p : ShippedTables().PaletteTable()) lines.push_back(Line(p));
  const auto has = [&lines](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has("anchor:1:#FFFFFF:White Bright"));
  EXPECT_TRUE(has("kirov:0101:#FFFFFF:"));
  EXPECT_TRUE(has("dmc:5270:A21B22:metalic red"));
  const std::vector<std::vector<std::string>> codes = {
      {"dmc", "310", "#000000"},     {"dmc", "B5200", "#fafafa"},  {"dmc", "White", "#FAFAFA"},
      {"dmc", "602", "#E64281"},     {"anchor", "403", "#000000"}, {"anchor", "2", "#FAFAFA"},
      {"gamma", "420", "#000000"},   {"gamma", "415", "#FFFFFF"},  {"madeira", "1009", "#000037"},
      {"madeira", "2401", "#FFFFFF"}, {"madeira", "2400", "#000000"}, {"madeira", "2404", "#F3E8D1"},
      {"kirov", "7214", "#1D1C1E"}, {"dmc", "b5200", ""}};
  for (const auto& c : codes) EXPECT_EQ(FindColorCode(ShippedTables(), c[1], c[0]), c[2]) << c[0] << ' ' << c[1];
  const auto kirov = Block("kirov");
  ASSERT_GE(kirov.size(), 3u);
  EXPECT_EQ(kirov[0]->Number, "0101");
  EXPECT_EQ(kirov[1]->Number, "0102");
  EXPECT_EQ(kirov[2]->Number, "0103");
}

TEST(ShippedData, DoubledDmcColoursStandOnConsecutiveLines) {
  const auto dmc = Block("dmc");
  const std::vector<std::vector<std::string>> doubled = {
      {"602", "#E64281", "#e64281"}, {"741", "#FF9D25", "#ff9d25"}, {"3831", "#b22b54", "#b22b54"}};
  for (const auto& d : doubled) {
    const auto first = std::find_if(dmc.begin(), dmc.end(), [&d](const Palette* p) { return p->Number == d[0]; });
    ASSERT_NE(first, dmc.end()) << d[0];
    ASSERT_NE(first + 1, dmc.end()) << d[0];
    EXPECT_EQ((*first)->Code, d[1]);
    EXPECT_EQ((*(first + 1))->Number, d[0]);
    EXPECT_EQ((*(first + 1))->Code, d[2]);
  }
}

TEST(ShippedData, CorrespondenceBlocksBeginAsStated) {
  const auto& accord = ShippedTables().AccordTable();
  ASSERT_GE(accord.size(), 3u);
  EXPECT_EQ(Line(accord[0]), "dmc:b5200:anchor:1");
  EXPECT_EQ(Line(accord[1]), "dmc:blank:anchor:2");
  EXPECT_EQ(Line(accord[2]), "dmc:ecru:anchor:926");
  const std::size_t gamma = FindAccord("dmc:Blanc:gamma:415");
  ASSERT_LT(gamma + 1, accord.size());
  EXPECT_EQ(Line(accord[gamma + 1]), "dmc:Ecru:gamma:1");
  EXPECT_EQ(accord[gamma - 1].BrandB, "anchor");
  const std::size_t madeira = FindAccord("madeira:101:dmc:746");
  ASSERT_LT(madeira, accord.size());
  EXPECT_EQ(accord[madeira - 1].BrandB, "gamma");
  const std::size_t kirov = FindAccord("dmc:B5200:kirov:0101");
  ASSERT_LT(kirov + 43, accord.size());
  EXPECT_EQ(accord[kirov - 1].BrandA, "madeira");
  EXPECT_EQ(Line(accord[kirov + 43]), "*dmc:434:kirov:3908");
  for (const std::string_view line : {"madeira:2401:dmc:B5200", "madeira:2402:dmc:Blanc", "madeira:2404:dmc:Ecrut",
                                      "dmc:154:gamma:3237", "dmc:154:gamma:0909", "dmc:702:kirov:3908"}) {
    EXPECT_LT(FindAccord(line), accord.size()) << line;
  }
}

TEST(ShippedData, LineFeedEntryIsFollowedByTwoEmptyRecords) {
  const auto& accord = ShippedTables().AccordTable();
  const std::size_t at = FindAccord("dmc:517:anchor:162\n");
  ASSERT_LT(at + 2, accord.size());
  EXPECT_EQ(Line(accord[at + 1]), ":::");
  EXPECT_EQ(Line(accord[at + 2]), ":::");
  std::size_t empty = 0;
  std::size_t withLineFeed = 0;
  for (std::size_t i = 0; i < accord.size(); ++i) {
    if (Line(accord[i]) == ":::") ++empty;
    if (accord[i].NumberB.empty() || accord[i].NumberB.back() != '\n') continue;
    ++withLineFeed;
    ASSERT_LT(i + 2, accord.size());
    EXPECT_EQ(Line(accord[i + 1]) + Line(accord[i + 2]), "::::::") << Line(accord[i]);
  }
  EXPECT_EQ(empty, 2 * withLineFeed);
}

TEST(ShippedData, CorrespondenceNumberFormats) {
  for (const Accord& a : ShippedTables().AccordTable()) {
    const std::vector<std::pair<const std::string*, const std::string*>> sides = {{&a.BrandA, &a.NumberA},
                                                                                  {&a.BrandB, &a.NumberB}};
    for (const auto& [brand, raw] : sides) {
      std::string number = *raw;
      number.erase(std::remove(number.begin(), number.end(), '\n'), number.end());
      if (*brand == "anchor" || *brand == "madeira") {
        EXPECT_TRUE(AllDigits(number) && number[0] != '0') << Line(a);
      } else if (*brand == "kirov") {
        EXPECT_TRUE(AllDigits(number) && number.size() == 4) << Line(a);
      } else if (*brand == "gamma") {
        const bool shortForm = number == "415" || number == "1" || number == "956";
        EXPECT_TRUE(AllDigits(number) && (number.size() == 4 || shortForm)) << Line(a);
      }
    }
  }
}

TEST(ShippedData, ExactWorkedExamplesHold) {
  const std::vector<std::vector<std::string>> cases = {
      {"dmc", "310", "dmc 310 gamma 420 anchor 403 madeira 2400 kirov 7214",
       "dmc 310 gamma 420 anchor 403 madeira 2400 kirov 7214"},
      {"gamma", "0420", "dmc 310 gamma 0420", "dmc 310 gamma 0420 anchor 403 madeira 2400 kirov 7214"},
      {"kirov", "3908", "dmc 702 kirov 3908", "dmc 702 gamma 319,210 anchor 226 madeira 1306 kirov 3908"},
      {"dmc", "154", "dmc 154 gamma 3237,909 anchor 72", "dmc 154 gamma 3237,909 anchor 72"},
      {"anchor", "926", "dmc ecru,712,3866 anchor 926", "dmc ecru,712,3866 anchor 926"},
      {"anchor", "1", "dmc b5200 anchor 1", "dmc b5200 anchor 1"},
      {"dmc", "5270", "dmc 5270, not found", "dmc 5270, not found"},
      {"anchor", "1207", "dmc 48,99 anchor 1207", "dmc 48,99 anchor 1207"},
      {"dmc", "0", "dmc 0, not found", "dmc 0, not found"},
      {"dmc", "00", "dmc 00, not found", "dmc 00, not found"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(FindExact(ShippedTables(), c[1], c[0])), c[2]) << c[0] << ' ' << c[1];
    EXPECT_EQ(Describe(ExactWithPass(ShippedTables(), c[1], c[0])), c[3]) << c[0] << ' ' << c[1];
  }
  const Equivalents ecru = FindExact(ShippedTables(), "Ecru", "dmc");
  EXPECT_EQ(ecru.Slot("gamma"), "1");
  EXPECT_EQ(ecru.Slot("kirov"), "102");
  EXPECT_EQ(ecru.Slot("anchor"), "");
  EXPECT_EQ(FindExact(ShippedTables(), "ecru", "dmc").Slot("anchor"), "926");
  EXPECT_TRUE(FindExact(ShippedTables(), "", "").Found);
}

TEST(ShippedData, NearestWorkedExampleFromAnchorOneHolds) {
  EXPECT_EQ(Describe(FindNearest(ShippedTables(), "1", "anchor")),
            "dmc B5200 gamma 415 anchor 1 madeira 2401 kirov 101");
}

int DistanceBetween(std::string_view brandA, std::string_view a, std::string_view brandB, std::string_view b) {
  std::uint32_t ca = 0, cb = 0;
  EXPECT_TRUE(HTMLToColor(FindColorCode(ShippedTables(), a, brandA), ca));
  EXPECT_TRUE(HTMLToColor(FindColorCode(ShippedTables(), b, brandB), cb));
  return ColorDistance(ca, cb);
}

// The charts give some colours nearer than the ones the worked examples name;
// data/README.md lists these differences, and this test pins them down.
TEST(ShippedData, NearestWorkedExamplesFromDmcDifferOnlyWhereTheChartsAreNearer) {
  const Equivalents black = FindNearest(ShippedTables(), "310", "dmc");
  EXPECT_EQ(Describe(black), "dmc 310 gamma 420 anchor 403 madeira 2400 kirov 7214");
  EXPECT_EQ(DistanceBetween("dmc", "310", "madeira", "1009"), 55);
  EXPECT_EQ(DistanceBetween("dmc", "310", "madeira", "2400"), 0);
  EXPECT_EQ(DistanceBetween("dmc", "310", "kirov", "7214"), 87);

  const Equivalents snow = FindNearest(ShippedTables(), "B5200", "dmc");
  EXPECT_EQ(Describe(snow), "dmc B5200 gamma 3250 anchor 2 madeira 2402 kirov 101");
  EXPECT_EQ(DistanceBetween("dmc", "B5200", "gamma", "3250"), 13);
  EXPECT_EQ(DistanceBetween("dmc", "B5200", "madeira", "2401"), 15);
  EXPECT_EQ(DistanceBetween("dmc", "B5200", "madeira", "2402"), 6);
  EXPECT_EQ(DistanceBetween("dmc", "B5200", "kirov", "0101"), 15);
}

TEST(ShippedData, EveryConvertibleColourFindsANumberInEveryOtherTableBrand) {
  for (const Palette& p : ShippedTables().PaletteTable()) {
    const Equivalents result = FindNearest(ShippedTables(), p.Number, p.Brand);
    ASSERT_TRUE(result.Found) << Line(p);
    for (const std::string_view brand : kTableBrands) {
      EXPECT_FALSE(result.Slot(brand).empty()) << Line(p) << " -> " << brand;
    }
  }
}

}  // namespace
}  // namespace talmeko::catalogue
