// Cells spanning rows are looked at in a second walk over the table, made
// only when some cell spans rows: wherever that cell stands in its row, the
// rows it covers must still grow to hold it.

#include <gtest/gtest.h>

#include <vector>

#include "htmlview/layout/layout_store.h"
#include "htmlview/layout/table_layout.h"
#include "layout_test_trees.h"
#include "support/fake_canvas.h"

namespace talmeko::htmlview {
namespace {

using testing::AddRow;
using testing::NewTable;
using testing::TextCell;

TEST(TableRowSpanTest, TallCellStretchesTheRowsItCoversWhereverItStands) {
  struct Case {
    int position;  // where the tall cell stands in the first row
    int rowSpan;
    std::vector<int> rowHeights;
  };
  const Case cases[] = {
      {0, 2, {22, 80}}, {1, 2, {22, 80}}, {2, 2, {22, 80}},
      // Spanning one row only: the first row itself takes the height.
      {0, 1, {102, 22}}, {2, 1, {102, 22}},
  };
  for (const Case& c : cases) {
    THtmlTable table = NewTable();
    std::vector<TCellObj> first;
    for (int i = 0; i < 3; ++i) {
      TCellObj cell = TextCell(table, i == c.position ? u"t" : u"a");
      if (i == c.position) {
        cell.RowSpan = c.rowSpan;
        cell.SpecHt = {100, TWidthType::wtAbsolute};
      }
      first.push_back(std::move(cell));
    }
    AddRow(table, std::move(first));
    std::vector<TCellObj> second;
    second.push_back(TextCell(table, u"b"));
    second.push_back(TextCell(table, u"c"));
    AddRow(table, std::move(second));

    talmeko::testing::FakeCanvas canvas;
    TLayoutFonts fonts;
    TLayoutStore store;
    TTableLayout layout(table);
    int textBase = 0;
    layout.Build(textBase, store, 0);
    fonts.Reset(canvas);
    layout.Measure(fonts);
    layout.Arrange(800);
    layout.SetOrigin(0, 0);
    EXPECT_EQ(layout.RowHeights(), c.rowHeights) << "tall cell at " << c.position << " spanning " << c.rowSpan;
    const auto& tall = layout.Cells()[static_cast<std::size_t>(c.position)];
    EXPECT_EQ(tall.box.bottom - tall.box.top, 100) << "tall cell at " << c.position;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
