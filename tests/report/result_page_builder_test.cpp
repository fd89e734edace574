#include "report/result_page_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "report/colour_item.h"

namespace talmeko::report {
namespace {

class FakeHost final : public PageHost {
 public:
  bool ColumnShown(std::size_t column) const override { return columns[column]; }
  bool NearestColourMode() const override { return nearest; }
  std::size_t ColourCount() const override { return items.size(); }
  std::string ColourItem(std::size_t index) const override { return items[index]; }
  void RepaintColourList() override { ++repaints; }
  void LoadPage(std::string_view bytes) override {
    pages.emplace_back(bytes);
    waitDuringLoads.push_back(wait);
  }
  void EnableResultButtons() override { ++enables; }
  void SetWaitCursor(bool on) override { wait += on ? 1 : -1; }

  std::array<bool, 5> columns{true, true, false, false, false};
  bool nearest = false;
  std::vector<std::string> items;
  int repaints = 0;
  int enables = 0;
  int wait = 0;
  std::vector<std::string> pages;
  std::vector<int> waitDuringLoads;
};

const std::string kStart = "<html><head><style>table{font-family:Arial,sans-serif}</style></head><body><table><tr>";
const std::string kEnd = "</table></body></html>";
const std::string kGammaHeader = "<td>\xC3\xE0\xEC\xEC\xE0</td>";
const std::string kKirovHeader = "<td>\xCF\xCD\xCA \xE8\xEC. \xCA\xE8\xF0\xEE\xE2\xE0</td>";

std::string Cell(const std::string& swatch, const std::string& numbers) {
  return "<td><table><tr><td style=\"background:" + swatch + ";width:50px\"></td><td>" + numbers +
         "</td></table></td>";
}

class ResultPageBuilderShipped : public ::testing::Test {
 protected:
  static const catalogue::Tables& Shipped() {
    static const catalogue::Tables tables = catalogue::LoadTables();
    return tables;
  }
  FakeHost host;
  ResultPageBuilder builder{Shipped(), host};
};

TEST_F(ResultPageBuilderShipped, Dmc310WithDmcAndGamma) {
  ASSERT_TRUE(builder.BuildRow("310", "dmc"));
  ASSERT_EQ(host.pages.size(), 1u);
  EXPECT_EQ(host.pages[0], kStart + "<td>DMC</td>" + kGammaHeader + "<tr>" + Cell("#000000", "310") +
                               Cell("#000000", "420") + kEnd);
  EXPECT_EQ(host.enables, 1);
}

TEST_F(ResultPageBuilderShipped, Anchor1WithThreeColumnsAndItsEmptySwatch) {
  host.columns = {true, true, true, false, false};
  ASSERT_TRUE(builder.BuildRow("1", "anchor"));
  EXPECT_EQ(host.pages.back(), kStart + "<td>DMC</td>" + kGammaHeader + "<td>Anchor</td><tr>" + Cell("", "b5200") +
                                   Cell("", "") + Cell("#FFFFFF", "1") + kEnd);
}

TEST_F(ResultPageBuilderShipped, OnlyTheDmcColumnStillGivesARow) {
  host.columns = {true, false, false, false, false};
  ASSERT_TRUE(builder.BuildRow("1", "anchor"));
  EXPECT_EQ(host.pages.back(), kStart + "<td>DMC</td><tr>" + Cell("", "b5200") + kEnd);
}

TEST_F(ResultPageBuilderShipped, Anchor926TakesItsDmcSwatchFromEcruAlone) {
  host.columns = {true, false, false, false, false};
  ASSERT_TRUE(builder.BuildRow("926", "anchor"));
  EXPECT_EQ(builder.Body(), "<tr>" + Cell("", "ecru,712,3866"));
}

TEST_F(ResultPageBuilderShipped, HiddenKirovColumnDropsTheEnteredNumber) {
  ASSERT_TRUE(builder.BuildRow("3908", "kirov"));
  EXPECT_EQ(builder.Body().find("3908"), std::string::npos);
  host.columns = {true, false, false, false, true};
  builder.ClearBody();
  ASSERT_TRUE(builder.BuildRow("3908", "kirov"));
  EXPECT_NE(builder.Body().find(">3908</td>"), std::string::npos);
  EXPECT_EQ(host.pages.back().substr(kStart.size(), 12 + kKirovHeader.size()), "<td>DMC</td>" + kKirovHeader);
}

TEST_F(ResultPageBuilderShipped, MetallicCodeEntersTheStyleUnchanged) {
  host.columns = {true, false, false, false, false};
  host.nearest = true;
  ASSERT_TRUE(builder.BuildRow("5270", "dmc"));
  EXPECT_EQ(builder.Body(), "<tr>" + Cell("A21B22", "5270"));
}

TEST_F(ResultPageBuilderShipped, UnplacedColourChangesNothingButARepaint) {
  ASSERT_TRUE(builder.BuildRow("310", "dmc"));
  const std::string body = builder.Body();
  EXPECT_FALSE(builder.BuildRow("5270", "dmc"));
  EXPECT_FALSE(builder.BuildRow("0", "dmc"));
  EXPECT_EQ(builder.Body(), body);
  EXPECT_EQ(host.pages.size(), 1u);
  EXPECT_EQ(host.enables, 1);
  EXPECT_EQ(host.repaints, 2);
}

TEST_F(ResultPageBuilderShipped, EmptyListLoadsAZeroByteDocumentUnderTheWaitCursor) {
  ASSERT_TRUE(builder.BuildRow("310", "dmc"));
  builder.RebuildPage();
  ASSERT_EQ(host.pages.size(), 2u);
  EXPECT_EQ(host.pages[1], "");
  EXPECT_EQ(host.waitDuringLoads[1], 1);
  EXPECT_EQ(host.wait, 0);
  EXPECT_EQ(builder.Body(), "");
  EXPECT_EQ(host.enables, 1) << "the buttons are not touched";
}

TEST_F(ResultPageBuilderShipped, RebuildLoadsOneFinalPageHoldingEveryPlacedRow) {
  host.columns = {true, false, false, false, false};
  host.items = {"310 (dmc)", "5270 (dmc)", "12 (3 (dmc)", "1 (anchor)"};
  builder.RebuildPage();
  ASSERT_EQ(host.pages.size(), 1u);
  EXPECT_EQ(host.pages[0], kStart + "<td>DMC</td><tr>" + Cell("#000000", "310") + "<tr>" + Cell("", "b5200") + kEnd);
  EXPECT_EQ(host.waitDuringLoads[0], 1);
  EXPECT_EQ(host.wait, 0);
  EXPECT_EQ(host.repaints, 2);
  EXPECT_EQ(host.enables, 1);
}

// The page shown before the rebuild must not outlive the rows it showed.
TEST_F(ResultPageBuilderShipped, RebuildWithNoPlaceableItemLoadsTheEmptyDocument) {
  host.items = {"310 (dmc)"};
  builder.RebuildPage();
  host.items = {"5270 (dmc)", "zz (dmc)"};
  builder.RebuildPage();
  ASSERT_EQ(host.pages.size(), 2u);
  EXPECT_EQ(host.pages[1], "");
  EXPECT_EQ(host.enables, 1) << "the buttons are not touched";
  EXPECT_EQ(builder.Body(), "");
  EXPECT_FALSE(builder.BuildAllRows());
}

TEST_F(ResultPageBuilderShipped, BuildAllRowsReportsTheLastItem) {
  host.items = {"5270 (dmc)", "310 (dmc)"};
  EXPECT_TRUE(builder.BuildAllRows());
  host.items = {"310 (dmc)", "5270 (dmc)"};
  EXPECT_FALSE(builder.BuildAllRows());
  EXPECT_EQ(host.pages.size(), 2u);
}

TEST_F(ResultPageBuilderShipped, NearestModeSwitchRebuildsEveryRow) {
  host.items = {"310 (dmc)", "5270 (dmc)"};
  builder.RebuildPage();
  EXPECT_EQ(builder.Body().find("5270"), std::string::npos);
  host.nearest = true;
  builder.RebuildPage();
  EXPECT_NE(builder.Body().find("A21B22"), std::string::npos);
  EXPECT_EQ(host.pages.size(), 2u);
}

// Small tables make the cell content independent of the shipped data.
TEST(ResultPageBuilderFixture, SwatchShowsOnlyTheFirstNumberAndNothingIsEscaped) {
  const catalogue::Tables tables = catalogue::LoadTables(
      "dmc:1:#111111:one\r\ngamma:0007:#777777:\r\ngamma:8:#888888:\r\ndmc:<b>:#<&>\":odd",
      "dmc:1:gamma:7\r\ndmc:1:gamma:0008\r\ndmc:<b>:gamma:7");
  FakeHost host;
  ResultPageBuilder builder(tables, host);
  ASSERT_TRUE(builder.BuildRow("01", "dmc"));
  ASSERT_TRUE(builder.BuildRow("<b>", "dmc"));
  EXPECT_EQ(builder.Body(), "<tr>" + Cell("#111111", "01") + Cell("#777777", "7,8") + "<tr>" +
                                Cell("#<&>\"", "<b>") + Cell("#777777", "7"));
}

}  // namespace
}  // namespace talmeko::report
