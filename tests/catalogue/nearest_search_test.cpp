#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/conversion.h"
#include "equivalents_text.h"
#include "fixture_tables.h"

namespace talmeko::catalogue {
namespace {

using testing::Describe;
using testing::FixtureTables;

TEST(NearestSearch, WorkedExamplesOnTheFixture) {
  const std::vector<std::vector<std::string>> cases = {
      {"dmc", "310", "dmc 310 gamma 420 anchor 403 madeira 1009 kirov 7214"},
      {"anchor", "1", "dmc B5200 gamma 415 anchor 1 madeira 2401 kirov 101"},
      {"dmc", "B5200", "dmc B5200 gamma 415 anchor 2 madeira 2401 kirov 101"},
      {"kirov", "0101", "dmc B5200 gamma 415 anchor 1 madeira 2401 kirov 0101"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(FindNearest(FixtureTables(), c[1], c[0])), c[2]) << c[0] << ' ' << c[1];
  }
}

TEST(NearestSearch, DistanceOf143IsTakenAnd144IsNot) {
  const Tables tables = LoadTables(
      "dmc:1:#000000:\r\n"
      "gamma:0002:#8F0000:\r\n"
      "anchor:3:#900000:\r\n"
      "madeira:0004:#00008F:\r\n"
      "madeira:0005:#000090:\r\n"
      "kirov:0006:#303030:\r\n"
      "kirov:0007:#2F3030:\r\n",
      "");
  EXPECT_EQ(Describe(FindNearest(tables, "1", "dmc")), "dmc 1 gamma 2 madeira 4 kirov 7");
}

TEST(NearestSearch, NothingWithinTheThresholdLeavesFoundClear) {
  const Tables tables = LoadTables("dmc:1:#000000:\r\ngamma:2:#FFFFFF:\r\n", "");
  EXPECT_EQ(Describe(FindNearest(tables, "01", "dmc")), "dmc 01, not found");
}

TEST(NearestSearch, TheEnteredBrandIsNeverSearched) {
  const Tables tables = LoadTables("dmc:1:#101010:\r\ndmc:2:#101010:\r\ngamma:3:#202020:\r\n", "");
  EXPECT_EQ(Describe(FindNearest(tables, "1", "dmc")), "dmc 1 gamma 3");
}

TEST(NearestSearch, TiesGoToTheFirstInTableOrder) {
  const Tables tables = LoadTables(
      "dmc:1:#808080:\r\nanchor:20:#828080:\r\nanchor:10:#808082:\r\nanchor:30:#818081:\r\n", "");
  EXPECT_EQ(FindNearest(tables, "1", "dmc").Slot("anchor"), "20");
  const Tables nearerLater = LoadTables("dmc:1:#808080:\r\nanchor:20:#828080:\r\nanchor:10:#818080:\r\n", "");
  EXPECT_EQ(FindNearest(nearerLater, "1", "dmc").Slot("anchor"), "10");
}

TEST(NearestSearch, ResultNumbersAreNormalised) {
  const Equivalents result = FindNearest(FixtureTables(), "310", "dmc");
  EXPECT_EQ(result.Slot("gamma"), "420");
  EXPECT_EQ(FindNearest(FixtureTables(), "1", "anchor").Slot("kirov"), "101");
}

TEST(NearestSearch, UnknownColourComesBackEmpty) {
  for (const auto& [number, brand] : std::vector<std::pair<std::string, std::string>>{
           {"1207", "anchor"}, {"310", "dome"}, {"310", "DMC"}, {"310,1", "dmc"}, {"0", "dmc"}, {"", ""}}) {
    EXPECT_EQ(Describe(FindNearest(FixtureTables(), number, brand)), "not found") << brand << ' ' << number;
  }
}

TEST(NearestSearch, MetallicSourceIsReadFromItsSixDigitsButNeverACandidate) {
  const Tables tables = LoadTables("anchor:1:#A21B22:\r\ndmc:5270:A21B22:metalic red\r\ndmc:321:#c32a3c:\r\n", "");
  EXPECT_EQ(FindNearest(tables, "1", "anchor").Slot("dmc"), "321");
  EXPECT_EQ(Describe(FindNearest(tables, "5270", "dmc")), "dmc 5270 anchor 1");
}

TEST(NearestSearch, SourceCodeThatReadsAsNoColourFindsNothing) {
  const Tables tables = LoadTables("dmc:1:#12345:\r\ndmc:2:red:\r\ngamma:3:#123456:\r\n", "");
  EXPECT_EQ(Describe(FindNearest(tables, "1", "dmc")), "not found");
  EXPECT_EQ(Describe(FindNearest(tables, "2", "dmc")), "not found");
}

TEST(NearestSearch, OnlyTableBrandsAreCandidates) {
  const Tables tables = LoadTables("dmc:1:#000000:\r\ndome:2:#000000:\r\n", "");
  EXPECT_EQ(Describe(FindNearest(tables, "1", "dmc")), "dmc 1, not found");
}

}  // namespace
}  // namespace talmeko::catalogue
