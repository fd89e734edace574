#include "catalogue/tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_tables.h"

namespace talmeko::catalogue {
namespace {

struct SplitCase {
  std::string line;
  std::string f1, f2, f3, f4;
};

TEST(CatalogueTables, SplitLineCutsAtTheFirstThreeSeparators) {
  const std::vector<SplitCase> cases = {
      {"p:q:r:s", "p", "q", "r", "s"},
      {"p:q:r:s:t", "p", "q", "r", "s:t"},
      {"p:q:r", "p", "q", "", "r"},
      {"p:q", "p", "", "", "q"},
      {"pqr", "", "", "", "pqr"},
      {":q:r:s", "", "q", "r", "s"},
      {"", "", "", "", ""},
      {"a:b:c:d:e:f", "a", "b", "c", "d:e:f"},
      {"dmc:517:anchor:162\n", "dmc", "517", "anchor", "162\n"},
      {"a:b:c:\t\x01:", "a", "b", "c", "\t\x01:"},
      {":::", "", "", "", ""},
  };
  for (const SplitCase& c : cases) {
    const LineFields f = SplitLine(c.line);
    EXPECT_EQ(f.f1, c.f1) << c.line;
    EXPECT_EQ(f.f2, c.f2) << c.line;
    EXPECT_EQ(f.f3, c.f3) << c.line;
    EXPECT_EQ(f.f4, c.f4) << c.line;
  }
}

TEST(CatalogueTables, EveryLineBecomesOneRecordInOrder) {
  const Tables tables = LoadTables("a:1:#000000:x\r\n\r\nodd\r\nb:2:#FFFFFF:", "dmc:1:anchor:2\r\n\r\n");
  const auto& palette = tables.PaletteTable();
  ASSERT_EQ(palette.size(), 4u);
  EXPECT_EQ(palette[0].Brand, "a");
  EXPECT_EQ(palette[0].Name, "x");
  EXPECT_EQ(palette[1].Brand, "");
  EXPECT_EQ(palette[1].Name, "");
  EXPECT_EQ(palette[2].Brand, "");
  EXPECT_EQ(palette[2].Name, "odd");
  EXPECT_EQ(palette[3].Number, "2");
  EXPECT_EQ(palette[3].Name, "");
  const auto& accord = tables.AccordTable();
  ASSERT_EQ(accord.size(), 2u);
  EXPECT_EQ(accord[0].NumberB, "2");
  EXPECT_EQ(accord[1].BrandA, "");
  EXPECT_EQ(accord[1].NumberB, "");
}

TEST(CatalogueTables, OnlyCarriageReturnLineFeedEndsALine) {
  const Tables tables = LoadTables("p:1:#1:\n\r\nq:2:#2:\rr\r\n", "");
  const auto& palette = tables.PaletteTable();
  ASSERT_EQ(palette.size(), 2u);
  EXPECT_EQ(palette[0].Name, "\n");
  EXPECT_EQ(palette[1].Name, "\rr");
  EXPECT_TRUE(tables.AccordTable().empty());
}

TEST(CatalogueTables, LastLineNeedsNoLineEnd) {
  EXPECT_EQ(LoadTables("a:1:2:3", "").PaletteTable().size(), 1u);
  EXPECT_EQ(LoadTables("a:1:2:3\r\n", "").PaletteTable().size(), 1u);
  EXPECT_EQ(LoadTables("a:1:2:3\r\n\r\n", "").PaletteTable().size(), 2u);
  EXPECT_EQ(LoadTables("\r\n", "").PaletteTable().size(), 1u);
  EXPECT_TRUE(LoadTables("", "").PaletteTable().empty());
}

TEST(CatalogueTables, FieldsKeepTheirTextUntouched) {
  const Tables tables = LoadTables(" dmc :0420 :#fafafa:Name: with: colons   ", "");
  const Palette& entry = tables.PaletteTable().front();
  EXPECT_EQ(entry.Brand, " dmc ");
  EXPECT_EQ(entry.Number, "0420 ");
  EXPECT_EQ(entry.Code, "#fafafa");
  EXPECT_EQ(entry.Name, "Name: with: colons   ");
}

TEST(CatalogueTables, FixtureKeepsTheLineFeedAndTheEmptyLinesAfterIt) {
  const auto& accord = testing::FixtureTables().AccordTable();
  std::size_t at = 0;
  while (at < accord.size() && accord[at].NumberA != "517") ++at;
  ASSERT_LT(at + 2, accord.size());
  EXPECT_EQ(accord[at].NumberB, "162\n");
  for (std::size_t i = at + 1; i <= at + 2; ++i) {
    EXPECT_EQ(accord[i].BrandA, "");
    EXPECT_EQ(accord[i].NumberA, "");
    EXPECT_EQ(accord[i].BrandB, "");
    EXPECT_EQ(accord[i].NumberB, "");
  }
}

TEST(CatalogueTables, StarredLineLoadsWithItsOddBrand) {
  bool seen = false;
  for (const Accord& entry : testing::FixtureTables().AccordTable()) {
    if (entry.BrandA == "*dmc") {
      seen = true;
      EXPECT_EQ(entry.NumberA, "434");
      EXPECT_EQ(entry.BrandB, "kirov");
      EXPECT_EQ(entry.NumberB, "3908");
    }
  }
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace talmeko::catalogue
