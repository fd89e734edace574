// Tables that free nothing are left undestroyed by the document's store:
// the store must destroy exactly the objects not marked, and a table must
// say it frees nothing only when it holds no memory of its own.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "htmlview/base/block_store.h"
#include "htmlview/parse/blocks.h"
#include "htmlview/parse/html_table.h"
#include "htmlview/parse/section.h"
#include "tracked_element.h"

namespace talmeko::htmlview {
namespace {

TEST(Teardown, StoreDestroysExactlyTheObjectsNotMarked) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    int live = 0;
    const int count = static_cast<int>(rng() % 300);
    int marked = 0;
    {
      TBlockStore<testing::Tracked> store;
      std::vector<bool> mark(count);
      for (int i = 0; i < count; ++i) {
        // Short texts are held in place: a marked element holds no memory.
        store.Emplace(&live, std::to_string(i % 100));
        mark[i] = rng() % 3 == 0;
      }
      for (int i = 0; i < count; ++i) {
        if (!mark[i]) continue;
        store.MarkFreesNothing(i);
        if (rng() % 4 == 0) store.MarkFreesNothing(i);  // marking twice is marking once
        ++marked;
      }
      store.MarkFreesNothing(count);  // beyond the last object: ignored
      store.MarkFreesNothing(count + 1000);
      ASSERT_EQ(live, count);
    }
    ASSERT_EQ(live, marked) << "round " << round;
  }
}

// Table shapes around every edge of in-place storage: rows, cells per row
// and items per cell list, kept or owned.
TEST(Teardown, TablesFreeNothingOnlyWithoutMemoryOfTheirOwn) {
  struct TCase {
    int rows;
    int cells;
    int items;   // in the last cell of the last row
    bool owned;  // those items belong to the list
    bool freesNothing;
  };
  const TCase kCases[] = {
      {0, 0, 0, false, true},  {1, 0, 0, false, true},  {1, 1, 0, false, true},  {1, 2, 0, false, true},
      {1, 2, 1, false, true},  {1, 2, 1, true, false},  {1, 2, 2, false, false}, {1, 1, 3, false, false},
      {1, 3, 0, false, false}, {2, 1, 0, false, false}, {2, 2, 1, false, false}, {1, 2, 0, true, true},
  };
  TSection kept(TTextAlign::Left, 0);
  const TAttributeList noAttributes;
  const THtmlTableSettings settings;
  for (const TCase& c : kCases) {
    SCOPED_TRACE(std::to_string(c.rows) + " rows, " + std::to_string(c.cells) + " cells, " +
                 std::to_string(c.items) + (c.owned ? " owned" : " kept"));
    THtmlTable table(settings);
    for (int r = 0; r < c.rows; ++r) {
      TCellList& row = table.Rows.emplace_back();
      for (int k = 0; k < c.cells; ++k) row.Cells.emplace_back(TCellData{});
    }
    if (c.rows > 0 && c.cells > 0) {
      TCellBasic& list = table.Rows.back().Cells.back().Cell;
      for (int i = 0; i < c.items; ++i) {
        if (c.owned) list.Add(std::make_unique<TSection>(TTextAlign::Left, 0));
        else list.Keep(kept);
      }
    }
    EXPECT_EQ(table.FreesNothing(), c.freesNothing);
    TTableBlock block(std::move(table));
    EXPECT_EQ(block.FreesNothing(), c.freesNothing);
  }
}

}  // namespace
}  // namespace talmeko::htmlview
