// The compact containers of the document tree, each driven through long
// random runs of operations beside a std::vector doing the same, so that
// every crossing between the in-place and the heap storage is met.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "htmlview/base/inline_vector.h"
#include "htmlview/base/small_vector.h"
#include "htmlview/parse/blocks.h"
#include "htmlview/parse/document.h"
#include "htmlview/parse/html_table.h"
#include "htmlview/parse/section_base.h"
#include "parse_support.h"
#include "tracked_element.h"

namespace talmeko::htmlview {
namespace {

// A content item that counts the live ones and knows its own number.
class CountedItem : public TSectionBase {
 public:
  CountedItem(int* live, int id) : live_(live), id_(id) { ++*live_; }
  ~CountedItem() override { --*live_; }
  TSectionKind Kind() const override { return TSectionKind::Section; }
  int Id() const { return id_; }

 private:
  int* live_;
  int id_;
};

std::vector<int> IdsOf(const TCellBasic& list) {
  std::vector<int> ids;
  for (const TSectionBase* item : list) ids.push_back(static_cast<const CountedItem*>(item)->Id());
  EXPECT_EQ(ids.size(), list.Count());
  for (std::size_t i = 0; i < list.Count(); ++i) {
    EXPECT_EQ(static_cast<const CountedItem&>(list[i]).Id(), ids[i]) << "index " << i;
  }
  return ids;
}

// Two lists, one owning and one keeping, with their models: the kept items
// live in a pool that outlives both.
TEST(TreeStorage, ContentListsFollowAVectorThroughRandomRuns) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    int live = 0;
    {
      std::vector<std::unique_ptr<CountedItem>> pool;
      int nextId = 0;
      auto pooled = [&]() -> CountedItem& {
        pool.push_back(std::make_unique<CountedItem>(&live, nextId++));
        return *pool.back();
      };
      TCellBasic owning;
      TCellBasic keeping;
      std::vector<int> owningModel;
      std::vector<int> keepingModel;
      for (int step = 0; step < 300; ++step) {
        switch (random() % 10) {
          case 0:
          case 1:
          case 2:
            owning.Add(std::make_unique<CountedItem>(&live, nextId));
            owningModel.push_back(nextId++);
            break;
          case 3:
          case 4:
          case 5: {
            CountedItem& item = pooled();
            keeping.Keep(item);
            keepingModel.push_back(item.Id());
            break;
          }
          case 6:
            if (!owningModel.empty()) {
              const std::size_t at = random() % owningModel.size();
              owning.Replace(at, std::make_unique<CountedItem>(&live, nextId));
              owningModel[at] = nextId++;
            }
            if (!keepingModel.empty()) {
              const std::size_t at = random() % keepingModel.size();
              CountedItem& item = pooled();
              keeping.ReplaceKept(at, item);
              keepingModel[at] = item.Id();
            }
            break;
          case 7:
            // Seldom: lists mostly grow.
            if (random() % 4 == 0) {
              owning.Clear();
              owningModel.clear();
            }
            break;
          case 8: {
            // Through a move and back, in both directions of assignment.
            TCellBasic moved(std::move(owning));
            EXPECT_TRUE(owning.Empty());
            owning = std::move(moved);
            EXPECT_TRUE(moved.Empty());
            break;
          }
          default: {
            TCellBasic moved(std::move(keeping));
            EXPECT_TRUE(keeping.Empty());
            TCellBasic other;
            other = std::move(moved);
            keeping = std::move(other);
            break;
          }
        }
        ASSERT_EQ(IdsOf(owning), owningModel) << "seed " << seed << " step " << step;
        ASSERT_EQ(IdsOf(keeping), keepingModel) << "seed " << seed << " step " << step;
        ASSERT_EQ(live, static_cast<int>(pool.size() + owningModel.size())) << "seed " << seed << " step " << step;
      }
      keeping.Clear();
      EXPECT_EQ(live, static_cast<int>(pool.size() + owningModel.size()));
    }
    EXPECT_EQ(live, 0) << "seed " << seed;
  }
}

TEST(TreeStorage, SmallVectorsFollowAVectorThroughRandomRuns) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    TSmallVector<int, 3> v;
    std::vector<int> model;
    for (int step = 0; step < 300; ++step) {
      const int value = static_cast<int>(random() % 1000);
      switch (random() % 8) {
        case 0:
        case 1:
        case 2:
          v.push_back(value);
          model.push_back(value);
          break;
        case 3: {
          const std::size_t count = random() % 12;
          v.resize(count, value);
          model.resize(count, value);
          break;
        }
        case 4: {
          const std::size_t count = random() % 7;
          v.assign(count, value);
          model.assign(count, value);
          break;
        }
        case 5: v.reserve(random() % 20); break;
        case 6: {
          const TSmallVector<int, 3> copy(v);
          v = copy;
          break;
        }
        default: {
          TSmallVector<int, 3> moved(std::move(v));
          v = std::move(moved);
          break;
        }
      }
      ASSERT_EQ(std::vector<int>(v.begin(), v.end()), model) << "seed " << seed << " step " << step;
      ASSERT_EQ(v.size(), model.size());
      if (!model.empty()) {
        ASSERT_EQ(v.back(), model.back());
      }
    }
  }
}

using testing::Tracked;

TEST(TreeStorage, InlineVectorsFollowAVectorThroughRandomRuns) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    int live = 0;
    {
      TInlineVector<Tracked, 2> v;
      std::vector<std::string> model;
      for (int step = 0; step < 300; ++step) {
        // Long enough to live on the heap: a moved-from element keeps none.
        const std::string text(20 + random() % 20, static_cast<char>('a' + random() % 26));
        switch (random() % 8) {
          case 0:
          case 1:
          case 2:
            v.emplace_back(&live, text);
            model.push_back(text);
            break;
          case 3:
            if (!model.empty()) {
              v.pop_back();
              model.pop_back();
            }
            break;
          case 4:
            if (random() % 4 == 0) {
              v.clear();
              model.clear();
            }
            break;
          case 5: v.reserve(random() % 16); break;
          case 6: {
            TInlineVector<Tracked, 2> moved(std::move(v));
            EXPECT_TRUE(v.empty());
            v = std::move(moved);
            break;
          }
          default: {
            TInlineVector<Tracked, 2> other;
            other.emplace_back(&live, "dropped");
            other = std::move(v);
            v = std::move(other);
            break;
          }
        }
        std::vector<std::string> got;
        for (const Tracked& t : v) got.push_back(t.value);
        ASSERT_EQ(got, model) << "seed " << seed << " step " << step;
        ASSERT_EQ(live, static_cast<int>(model.size())) << "seed " << seed << " step " << step;
      }
    }
    EXPECT_EQ(live, 0) << "seed " << seed;
  }
}

// A view that loads page after page tears each document down as the next
// one comes: what it builds must not depend on what it held before.
TEST(TreeStorage, ReloadedPagesBuildAsInAFreshView) {
  std::mt19937 random(7);
  testing::LoadedView reused;
  for (int page = 0; page < 12; ++page) {
    std::vector<testing::PageColour> rows(random() % 6);
    for (auto& row : rows) {
      const std::size_t cells = 1 + random() % 4;
      for (std::size_t c = 0; c < cells; ++c) {
        char code[8];
        std::snprintf(code, sizeof code, "#%06x", static_cast<unsigned>(random() % 0x1000000));
        row.cells.emplace_back(code, std::to_string(random() % 4000));
      }
    }
    std::string html = testing::ResultPage({"DMC", "Anchor", "Gamma"}, rows);
    if (page % 3 == 1) html.insert(html.find("<body>") + 6, "<table><caption>c</caption><tr><td>x</table>");
    testing::LoadedView fresh;
    EXPECT_EQ(reused.Load(html).Dump(), fresh.Load(html).Dump()) << "page " << page;
  }
}


// Every field of a cell, for comparing cells of two documents.
std::string CellFields(const TCellData& c) {
  std::string out = std::to_string(c.ColSpan) + "x" + std::to_string(c.RowSpan) + " w" +
                    std::to_string(c.SpecWd.Value) + "/" + std::to_string(static_cast<int>(c.SpecWd.Type)) + " h" +
                    std::to_string(c.SpecHt.Value) + "/" + std::to_string(static_cast<int>(c.SpecHt.Type)) + " v" +
                    std::to_string(static_cast<int>(c.VAlign));
  for (int s = 0; s < 4; ++s) {
    out += " " + std::to_string(c.Padding[s]) + "," + std::to_string(c.BorderWidth[s]) + "," +
           std::to_string(c.BorderStyle[s]) + "," + std::to_string(c.BorderColor[s]);
  }
  out += " bg" + std::to_string(c.BgColor) + " " + std::to_string(c.HzSpace) + "," + std::to_string(c.VrSpace) +
         (c.NoWrap ? " nowrap" : "") + (c.IsHeader ? " header" : "") + (c.ShowEmptyCells ? " show" : "");
  return out;
}

// The cells of a content list and of the tables in it, depth first.
void CollectCells(const TCellBasic& list, std::vector<std::string>& out) {
  for (const TSectionBase* item : list) {
    if (item->Kind() != TSectionKind::TableBlock) continue;
    for (const TCellList& row : static_cast<const TTableBlock*>(item)->Table.Rows) {
      out.push_back("row " + std::to_string(static_cast<int>(row.VAlign)) + " " + std::to_string(row.BgColor));
      for (const TCellObj& cell : row.Cells) {
        out.push_back(CellFields(cell));
        CollectCells(cell.Cell, out);
      }
    }
  }
}

std::vector<std::string> CellsOf(const ThtDocument& doc) {
  std::vector<std::string> out;
  if (const TBodyBlock* body = doc.Body()) CollectCells(body->Content, out);
  return out;
}

// Pieces of the random pages below.
constexpr const char* kStyles[] = {
    "",
    "background:#f5f0ec;width:50px",
    "background:#102030;width:50px",
    "padding:3px",
    "border:1px solid red",
    "vertical-align:bottom",
    "height:2em;empty-cells:show",
    "width:20%",
};
constexpr const char* kTables[] = {"<table>", "<table border=1>", "<table cellpadding=4>",
                                   "<table border=2 cellpadding=0>"};
constexpr const char* kRows[] = {"<tr>", "<tr valign=top>", "<tr valign=bottom>", "<tr style=\"background:#abc\">"};

// Cells whose only attribute is a style attribute are copied from one made
// before in the same set, table and row; a cell with one more attribute, of
// no meaning, is always built from its set. Random pages of nested tables
// must give the same cells either way.
TEST(TreeStorage, CopiedCellsMatchTheOnesBuiltFromTheirSets) {
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    std::mt19937 random(seed);
    std::string cached;
    std::string built;
    int serial = 0;
    auto add = [&](const std::string& text) {
      cached += text;
      built += text;
    };
    auto table = [&](auto& self, int depth) -> void {
      add(kTables[random() % std::size(kTables)]);
      const int rows = 1 + static_cast<int>(random() % 3);
      for (int r = 0; r < rows; ++r) {
        add(kRows[random() % std::size(kRows)]);
        const int cells = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < cells; ++c) {
          const char* tag = random() % 5 == 0 ? "th" : "td";
          const std::string style = kStyles[random() % std::size(kStyles)];
          const std::string styleAttribute = style.empty() ? "" : " style=\"" + style + "\"";
          cached += std::string("<") + tag + styleAttribute + ">";
          built += std::string("<") + tag + " x=" + std::to_string(serial++) + styleAttribute + ">";
          if (depth < 3 && random() % 3 == 0) self(self, depth + 1);
          else add(std::to_string(random() % 100));
        }
      }
      add("</table>");
    };
    for (int k = 0; k < 3; ++k) table(table, 1);
    testing::LoadedView a;
    testing::LoadedView b;
    a.Load("<html><body>" + cached + "</body></html>");
    b.Load("<html><body>" + built + "</body></html>");
    const std::vector<std::string> cells = CellsOf(a.Document());
    EXPECT_GT(cells.size(), 6u);
    ASSERT_EQ(cells, CellsOf(b.Document())) << "seed " << seed << "\n" << cached;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
