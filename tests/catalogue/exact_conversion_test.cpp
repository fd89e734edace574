#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/conversion.h"
#include "equivalents_text.h"
#include "fixture_tables.h"

namespace talmeko::catalogue {
namespace {

using testing::Describe;
using testing::ExactWithPass;
using testing::FixtureTables;

struct ExactCase {
  std::string number, brand;
  std::string exact, afterPass;
};

// The fixture holds the lines of the shipped tables that these colours meet.
TEST(ExactConversion, WorkedExamplesOnTheFixture) {
  const std::vector<ExactCase> cases = {
      {"310", "dmc", "dmc 310 gamma 420 anchor 403 madeira 2400 kirov 7214",
       "dmc 310 gamma 420 anchor 403 madeira 2400 kirov 7214"},
      {"0420", "gamma", "dmc 310 gamma 0420", "dmc 310 gamma 0420 anchor 403 madeira 2400 kirov 7214"},
      {"3908", "kirov", "dmc 702 kirov 3908", "dmc 702 gamma 319,210 anchor 226 madeira 1306 kirov 3908"},
      {"154", "dmc", "dmc 154 gamma 3237,909 anchor 72", "dmc 154 gamma 3237,909 anchor 72"},
      {"926", "anchor", "dmc ecru,712,3866 anchor 926", "dmc ecru,712,3866 anchor 926"},
      {"1", "anchor", "dmc b5200 anchor 1", "dmc b5200 anchor 1"},
      {"5270", "dmc", "dmc 5270, not found", "dmc 5270, not found"},
      {"1207", "anchor", "dmc 48,99 anchor 1207", "dmc 48,99 anchor 1207"},
      {"Ecru", "dmc", "dmc Ecru gamma 1 kirov 102", "dmc Ecru gamma 1 kirov 102"},
      {"ecru", "dmc", "dmc ecru anchor 926", "dmc ecru anchor 926"},
      {"101", "madeira", "dmc 746 madeira 101", "dmc 746 madeira 101"},
      {"0101", "madeira", "dmc 746 madeira 0101", "dmc 746 madeira 0101"},
      {"B5200", "dmc", "dmc B5200 madeira 2401 kirov 101", "dmc B5200 madeira 2401 kirov 101"},
      {"b5200", "dmc", "dmc b5200 anchor 1", "dmc b5200 anchor 1"},
      {"162", "anchor", "dmc 517 anchor 162", "dmc 517 anchor 162"},
  };
  for (const ExactCase& c : cases) {
    EXPECT_EQ(Describe(FindExact(FixtureTables(), c.number, c.brand)), c.exact) << c.brand << ' ' << c.number;
    EXPECT_EQ(Describe(ExactWithPass(FixtureTables(), c.number, c.brand)), c.afterPass)
        << c.brand << ' ' << c.number;
  }
}

TEST(ExactConversion, EnteredNumberKeepsItsOwnFormInItsSlot) {
  EXPECT_EQ(FindExact(FixtureTables(), "0420", "gamma").Slot("gamma"), "0420");
  EXPECT_EQ(FindExact(FixtureTables(), "310", "dmc").Slot("gamma"), "420");
  EXPECT_EQ(FindExact(FixtureTables(), "00310", "dmc").Slot("dmc"), "00310");
  EXPECT_EQ(FindExact(FixtureTables(), "00310", "dmc").Slot("anchor"), "403");
}

TEST(ExactConversion, ZeroNeverFindsAnything) {
  for (const std::string_view number : {"0", "00", "", "\n"}) {
    for (const std::string_view brand : kTableBrands) {
      EXPECT_FALSE(FindExact(FixtureTables(), number, brand).Found) << brand << " \"" << number << '"';
    }
  }
}

TEST(ExactConversion, OtherSideThatIsNoBrandSetsFoundAndAddsNothing) {
  const Tables tables = LoadTables("", "*dmc:434:kirov:3908\r\n");
  EXPECT_EQ(Describe(FindExact(tables, "3908", "kirov")), "kirov 3908");
  EXPECT_EQ(Describe(FindExact(tables, "434", "dmc")), "dmc 434, not found");
  EXPECT_EQ(Describe(FindExact(tables, "434", "*dmc")), "kirov 3908");
}

TEST(ExactConversion, OtherSideOfNoTableBrandAddsNothing) {
  const Tables tables = LoadTables("", "dmc:310:dome:77\r\ndome:78:dmc:310\r\n");
  EXPECT_EQ(Describe(FindExact(tables, "310", "dmc")), "dmc 310");
  EXPECT_EQ(Describe(FindExact(tables, "77", "dome")), "dmc 310 dome 77");
}

TEST(ExactConversion, EntryMatchingOnItsFirstSideIsNotTriedOnItsSecond) {
  const Tables tables = LoadTables("", "dmc:5:dmc:05\r\ndmc:6:dmc:5\r\n");
  EXPECT_EQ(Describe(FindExact(tables, "5", "dmc")), "dmc 5,5,6");
}

TEST(ExactConversion, NumbersStandInTableOrderAndRepeatsStay) {
  const Tables tables = LoadTables("", "dmc:1:gamma:0003\r\ngamma:2:dmc:01\r\ndmc:1:gamma:3\r\n");
  EXPECT_EQ(Describe(FindExact(tables, "1", "dmc")), "dmc 1 gamma 3,2,3");
}

TEST(ExactConversion, EmptyBrandKeyMeetsTheEmptyLines) {
  EXPECT_EQ(Describe(FindExact(FixtureTables(), "", "")), "");
  EXPECT_TRUE(FindExact(FixtureTables(), "", "").Found);
  EXPECT_TRUE(FindExact(FixtureTables(), "000", "").Found);
  EXPECT_FALSE(FindExact(FixtureTables(), "1", "").Found);
}

TEST(ExactConversion, BrandWithoutTableDataGetsOnlyItsOwnNumber) {
  const Equivalents result = FindExact(FixtureTables(), "012", "dome");
  EXPECT_EQ(Describe(result), "dome 012, not found");
  EXPECT_EQ(result.Slot("dome"), "012");
  EXPECT_EQ(Describe(FindExact(FixtureTables(), "310", "unknown")), "not found");
  EXPECT_EQ(result.Slot("unknown"), "");
}

TEST(DmcPass, FillsOnlyEmptySlotsThroughTheFirstDmcNumber) {
  const Tables tables = LoadTables("",
                                   "gamma:7:dmc:10\r\ngamma:7:dmc:20\r\nanchor:8:gamma:7\r\n"
                                   "dmc:10:gamma:99\r\ndmc:10:anchor:11\r\ndmc:10:madeira:12\r\n"
                                   "dmc:20:kirov:0013\r\n");
  Equivalents result = FindExact(tables, "7", "gamma");
  EXPECT_EQ(Describe(result), "dmc 10,20 gamma 7 anchor 8");
  DmcPass(tables, result);
  EXPECT_EQ(Describe(result), "dmc 10,20 gamma 7 anchor 8 madeira 12");
}

TEST(DmcPass, NeedsFoundAndADmcNumber) {
  const Tables tables = LoadTables("", "dmc:10:anchor:11\r\n*dmc:1:gamma:2\r\n");
  Equivalents notFound;
  notFound.Slot(*BrandIndex("dmc")) = "10";
  DmcPass(tables, notFound);
  EXPECT_EQ(Describe(notFound), "dmc 10, not found");

  Equivalents noDmc = FindExact(tables, "2", "gamma");
  DmcPass(tables, noDmc);
  EXPECT_EQ(Describe(noDmc), "gamma 2");
}

TEST(DmcPass, TakesTheFoundFlagOfTheSecondConversion) {
  const Tables tables = LoadTables("", "dmc:10:anchor:11\r\n");
  Equivalents result;
  result.Found = true;
  result.Slot(*BrandIndex("dmc")) = "55,10";
  DmcPass(tables, result);
  EXPECT_EQ(Describe(result), "dmc 55,10, not found");
}

}  // namespace
}  // namespace talmeko::catalogue
