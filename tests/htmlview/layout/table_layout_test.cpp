#include "htmlview/layout/table_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "htmlview/layout/layout_store.h"
#include "layout_test_trees.h"
#include "support/fake_canvas.h"

namespace talmeko::htmlview {
namespace {

using testing::AddRow;
using testing::NewCell;
using testing::NewTable;
using testing::SwatchCell;
using testing::TextCell;

// Lays one table out on its own at the origin.
struct LaidOutTable {
  explicit LaidOutTable(const THtmlTable& t) : layout(t) {
    int textBase = 0;
    layout.Build(textBase, store, 0);
    fonts.Reset(canvas);
    layout.Measure(fonts);
  }
  void Arrange(int width) {
    layout.Arrange(width);
    layout.SetOrigin(0, 0);
  }
  std::vector<int> Widths() const {
    std::vector<int> out;
    for (const auto& c : layout.Columns()) out.push_back(c.width);
    return out;
  }

  talmeko::testing::FakeCanvas canvas;
  TLayoutFonts fonts;
  TLayoutStore store;
  TTableLayout layout;
};

struct ShareCase {
  long long amount;
  std::vector<long long> weights;
  std::vector<long long> shares;
};

TEST(DistributeByWeightTest, SharesAddUpExactlyAndRoundFromTheLastEntry) {
  const std::vector<ShareCase> cases = {
      {10, {1, 1, 1}, {3, 4, 3}},  // 3.33 -> 3, 6.67 -> 7 (4 more), the first takes what is left
      {1, {1, 1}, {0, 1}},         // a half rounds up, so the last entry gets it
      {38, {48, 16, 0}, {28, 10, 0}},
      {7, {0, 2, 0}, {0, 7, 0}},
      {5, {0, 0}, {0, 0}},  // no weight: nothing moves
      {5, {}, {}},
      {100000000, {3000000000LL, 3000000000LL}, {50000000, 50000000}},  // products beyond 64 bits
  };
  for (const ShareCase& c : cases) {
    std::vector<long long> shares;
    DistributeByWeight(c.amount, c.weights, shares);
    EXPECT_EQ(shares, c.shares) << "amount " << c.amount;
  }
}

TEST(TableColumnsTest, SwatchColumnIsItsWidthPlusPaddingAndSpacing) {
  const THtmlTable table = testing::NumberAndSwatch(u"310", 0x0000FF);
  LaidOutTable t(table);
  ASSERT_EQ(t.layout.Columns().size(), 2u);
  const auto& number = t.layout.Columns()[0];
  const auto& swatch = t.layout.Columns()[1];
  EXPECT_EQ(number.min, 28);  // 3 characters of 8, 2 of padding, 2 of spacing
  EXPECT_EQ(number.max, 28);
  EXPECT_EQ(number.type, TWidthType::wtNone);
  EXPECT_EQ(swatch.min, 54);
  EXPECT_EQ(swatch.max, 54);
  EXPECT_EQ(swatch.type, TWidthType::wtAbsolute);
  EXPECT_EQ(t.layout.MinWidth(), 84);
  EXPECT_EQ(t.layout.MaxWidth(), 84);
}

TEST(TableColumnsTest, EmptySwatchKeepsItsWidthWhenSpaceIsShort) {
  const THtmlTable table = testing::NumberAndSwatch(u"310", 0x0000FF);
  LaidOutTable t(table);
  t.Arrange(30);
  EXPECT_EQ(t.Widths(), (std::vector<int>{28, 54}));
  EXPECT_EQ(t.layout.Width(), 84);
  const auto& swatch = t.layout.Cells()[1];
  EXPECT_EQ(swatch.box.right - swatch.box.left, 52);  // 50 inside 1 pixel of padding each side
  EXPECT_EQ(swatch.contentHeight, 0);
}

TEST(TableColumnsTest, ColumnTypeFollowsTheStrongestWidthAskedFor) {
  struct Case {
    std::vector<TWidthType> cells;  // down one column
    TWidthType expected;
  };
  const std::vector<Case> cases = {
      {{TWidthType::wtNone, TWidthType::wtRelative}, TWidthType::wtRelative},
      {{TWidthType::wtRelative, TWidthType::wtPercent}, TWidthType::wtPercent},
      {{TWidthType::wtPercent, TWidthType::wtRelative}, TWidthType::wtPercent},
      {{TWidthType::wtAbsolute, TWidthType::wtPercent}, TWidthType::wtAbsolute},
      {{TWidthType::wtPercent, TWidthType::wtAbsolute}, TWidthType::wtAbsolute},
      {{TWidthType::wtRelative, TWidthType::wtNone}, TWidthType::wtRelative},
  };
  for (const Case& c : cases) {
    THtmlTable table = NewTable();
    for (TWidthType type : c.cells) {
      TCellObj cell = TextCell(table, u"ab");
      cell.SpecWd = {type == TWidthType::wtNone ? 0 : 10, type};
      std::vector<TCellObj> row;
      row.push_back(std::move(cell));
      AddRow(table, std::move(row));
    }
    LaidOutTable t(table);
    EXPECT_EQ(t.layout.Columns()[0].type, c.expected);
  }
}

// Three columns: "aa bb cc" (min 20, max 68), "a b" (12, 28), "abc" (28, 28).
THtmlTable ThreeColumns() {
  THtmlTable table = NewTable();
  std::vector<TCellObj> row;
  row.push_back(TextCell(table, u"aa bb cc"));
  row.push_back(TextCell(table, u"a b"));
  row.push_back(TextCell(table, u"abc"));
  AddRow(table, std::move(row));
  return table;
}

TEST(TableWidthTest, ColumnsShrinkByWhatTheyCanGiveAndStopAtTheirMinima) {
  struct Case {
    int available;
    std::vector<int> widths;
  };
  const std::vector<Case> cases = {
      {1000, {68, 28, 28}},  // room to spare: maxima, never stretched
      {126, {68, 28, 28}},   // exactly the maxima
      {100, {48, 22, 28}},   // 38 shared 48:16:0, the 9.5 rounded up
      {75, {30, 15, 28}},    // 13 shared: 3.25 -> 3, the rest to the first
      {62, {20, 12, 28}},    // exactly the minima
      {40, {20, 12, 28}},    // less than the minima: the table overflows
  };
  const THtmlTable table = ThreeColumns();
  for (const Case& c : cases) {
    LaidOutTable t(table);
    t.Arrange(c.available);
    EXPECT_EQ(t.Widths(), c.widths) << "available " << c.available;
    int sum = 2;
    for (int w : c.widths) sum += w;
    EXPECT_EQ(t.layout.Width(), sum);
  }
}

TEST(TableWidthTest, NarrowedCellWrapsItsTextAndTheRowGrows) {
  const THtmlTable table = ThreeColumns();
  LaidOutTable t(table);
  t.Arrange(100);
  // The first column is 48 wide, so "aa bb cc" gets 44 pixels: two lines.
  ASSERT_EQ(t.layout.Cells()[0].content.Items().size(), 1u);
  EXPECT_EQ(t.layout.Cells()[0].content.Items()[0].section->Lines().size(), 2u);
  EXPECT_EQ(t.layout.RowHeights(), (std::vector<int>{2 * 18 + 2 + 2}));
  EXPECT_EQ(t.layout.Height(), 42);
}

TEST(TableWidthTest, SpecifiedWidthGoesToTheColumnsWithoutWidths) {
  struct Case {
    const char* name;
    bool numberHasWidth;
    int tableWidth;
    std::vector<int> widths;
  };
  const std::vector<Case> cases = {
      // A = 298; the unsized number column takes the whole 216 of extra room.
      {"unsized column grows", false, 300, {244, 54}},
      // Both absolute with no content slack: scaled by their widths, 54:104.
      {"absolute columns scale", true, 318, {108, 208}},
  };
  for (const Case& c : cases) {
    THtmlTable table = NewTable();
    table.SpecWidth = {c.tableWidth, TWidthType::wtAbsolute};
    std::vector<TCellObj> row;
    row.push_back(c.numberHasWidth ? SwatchCell(table, 0xFF) : TextCell(table, u"310"));
    row.push_back(SwatchCell(table, 0xFF, c.numberHasWidth ? 100 : 50));
    AddRow(table, std::move(row));
    LaidOutTable t(table);
    t.Arrange(800);
    EXPECT_EQ(t.Widths(), c.widths) << c.name;
    EXPECT_EQ(t.layout.Width(), c.tableWidth) << c.name;
  }
}

// The width steps with percent columns: the difference between the room and
// the minima goes to the columns without widths whenever there are any, and
// only otherwise to the percent columns.
TEST(TableWidthTest, PercentColumnsWidenOnlyWhenNoColumnIsUnsized) {
  struct Column {
    const char16_t* text;
    int percent;  // times ten; 0 for a column without width
  };
  struct Case {
    const char* name;
    std::vector<Column> columns;
    bool fullWidth;  // the table asks for 100 %
    int available;
    std::vector<int> widths;
  };
  // "aa bb cc" is 20 to 68 wide, "x" 12 and "abc" 28; the room is the available width less 2.
  const std::vector<Case> cases = {
      {"full table: shortfall to the unsized column", {{u"aa bb cc", 0}, {u"x", 500}}, true, 202, {188, 12}},
      {"full table, narrower", {{u"aa bb cc", 0}, {u"x", 500}}, true, 62, {48, 12}},
      {"below the minima", {{u"aa bb cc", 0}, {u"x", 500}}, true, 30, {20, 12}},
      {"no table width, room for the maxima", {{u"aa bb cc", 0}, {u"x", 500}}, false, 202, {68, 12}},
      {"no table width, less than the maxima", {{u"aa bb cc", 0}, {u"x", 500}}, false, 62, {48, 12}},
      // 160 over the minima, scaled 28:12 with the last column rounded first.
      {"only percent columns share by their widths", {{u"abc", 300}, {u"x", 500}}, true, 202, {140, 60}},
  };
  for (const Case& c : cases) {
    THtmlTable table = NewTable();
    if (c.fullWidth) table.SpecWidth = {1000, TWidthType::wtPercent};
    std::vector<TCellObj> row;
    for (const Column& column : c.columns) {
      TCellObj cell = TextCell(table, column.text);
      if (column.percent > 0) cell.SpecWd = {column.percent, TWidthType::wtPercent};
      row.push_back(std::move(cell));
    }
    AddRow(table, std::move(row));
    LaidOutTable t(table);
    t.Arrange(c.available);
    EXPECT_EQ(t.Widths(), c.widths) << c.name;
  }
}

TEST(TableHeightTest, CellContentIsPlacedByItsVerticalAlignment) {
  struct Case {
    TVAlign align;
    int askedHeight;
    int expectedTop;
  };
  // The tall cell asks for a height, making the row askedHeight + 2 high;
  // the short cell's spare room is row - 18 - 2 (spacing) - 2 (padding).
  const std::vector<Case> cases = {
      {TVAlign::vaTop, 60, 3},
      {TVAlign::vaMiddle, 60, 3 + 20},
      {TVAlign::vaBottom, 60, 3 + 40},
      {TVAlign::vaMiddle, 61, 3 + 20},  // 41 / 2 truncated
      {TVAlign::vaBottom, 61, 3 + 41},
  };
  for (const Case& c : cases) {
    THtmlTable table = NewTable();
    TCellObj tall = NewCell(table);
    tall.SpecHt = {c.askedHeight, TWidthType::wtAbsolute};
    TCellObj shortCell = NewCell(table, c.align);
    shortCell.Cell.Add(testing::Text(u"x"));
    std::vector<TCellObj> row;
    row.push_back(std::move(tall));
    row.push_back(std::move(shortCell));
    AddRow(table, std::move(row));
    LaidOutTable t(table);
    t.Arrange(400);
    EXPECT_EQ(t.layout.RowHeights()[0], c.askedHeight + 2);
    const auto& cell = t.layout.Cells()[1];
    EXPECT_EQ(cell.box.top, 2);
    EXPECT_EQ(cell.box.bottom, c.askedHeight + 2);
    EXPECT_EQ(cell.contentOrigin.y, c.expectedTop) << "asked " << c.askedHeight;
  }
}

TEST(TableHeightTest, EmptyCellIsAsTallAsItsPadding) {
  THtmlTable table = NewTable();
  std::vector<TCellObj> row;
  row.push_back(NewCell(table));
  AddRow(table, std::move(row));
  LaidOutTable t(table);
  t.Arrange(100);
  EXPECT_EQ(t.layout.RowHeights(), (std::vector<int>{4}));  // VrSpace 2 + spacing 2
  EXPECT_EQ(t.layout.Height(), 6);
}

TEST(TableSpanTest, SpannedCellsWidenAndHeightenWhatTheyCover) {
  THtmlTable table = NewTable();
  TCellObj wide = TextCell(table, u"abcdefghij");  // 80 + 4 over two columns of 12 each
  wide.ColSpan = 2;
  TCellObj tall = TextCell(table, u"t");
  tall.RowSpan = 2;
  tall.SpecHt = {100, TWidthType::wtAbsolute};
  std::vector<TCellObj> first;
  first.push_back(std::move(wide));
  first.push_back(std::move(tall));
  AddRow(table, std::move(first));
  std::vector<TCellObj> second;
  second.push_back(TextCell(table, u"a"));
  second.push_back(TextCell(table, u"b"));
  AddRow(table, std::move(second));

  LaidOutTable t(table);
  t.Arrange(800);
  ASSERT_EQ(t.layout.Columns().size(), 3u);
  EXPECT_EQ(t.layout.Columns()[0].width + t.layout.Columns()[1].width, 84);
  EXPECT_EQ(t.layout.Columns()[2].width, 12);
  const auto& tallCell = t.layout.Cells()[1];
  EXPECT_EQ(tallCell.col, 2);
  EXPECT_EQ(tallCell.box.bottom - tallCell.box.top, 100);
  // The first row keeps its own height; the second absorbs the rest.
  EXPECT_EQ(t.layout.RowHeights(), (std::vector<int>{22, 102 - 22}));
  const auto& wideCell = t.layout.Cells()[0];
  EXPECT_EQ(wideCell.box.right - wideCell.box.left, 82);
}

TEST(TableSpanTest, HostileSizesStayBounded) {
  THtmlTable table = NewTable();
  std::vector<TCellObj> row;
  for (int i = 0; i < 20; ++i) {
    TCellObj cell = TextCell(table, u"x");
    cell.ColSpan = 1000;
    cell.SpecWd = {2000000000, TWidthType::wtAbsolute};
    row.push_back(std::move(cell));
  }
  AddRow(table, std::move(row));
  LaidOutTable t(table);
  t.Arrange(800);
  EXPECT_EQ(t.layout.Columns().size(), 10000u);  // 20 cells of 1000 columns, cut at the limit
  EXPECT_GT(t.layout.Width(), 0);
  EXPECT_LE(t.layout.Width(), kMaxLayoutExtent);
  EXPECT_GT(t.layout.Height(), 0);
}

}  // namespace
}  // namespace talmeko::htmlview
