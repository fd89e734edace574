#include "htmlview/layout/document_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmlview/layout/layout_dump.h"
#include "htmlview/layout/table_layout.h"
#include "layout_test_trees.h"
#include "parse_support.h"
#include "support/fake_canvas.h"

namespace talmeko::htmlview {
namespace {

using talmeko::testing::RecordingCanvas;
using testing::AddRow;
using testing::Block;
using testing::FillBody;
using testing::NewTable;
using testing::TextCell;

constexpr platform::Color kSwatchRed = platform::Rgb(0xC0, 0x10, 0x20);

struct DocumentFixture : ::testing::Test {
  ThtDocument document;
  platform::ScreenInfo screen;
  RecordingCanvas canvas;

  TLayoutResult LayOut(THtmlDocumentView& view, int width) { return view.LayOut(canvas, width, 600); }

  TPaintContext Context(int top = 0, int bottom = 2000) {
    TPaintContext context;
    context.clip = {0, top, 6000, bottom};
    context.screen = screen;
    return context;
  }

  std::string PaintOf(THtmlDocumentView& view, const TPaintContext& context,
                      std::initializer_list<std::string_view> kinds = {}) {
    canvas.ClearCommands();
    view.Paint(canvas, context);
    return canvas.Dump(kinds);
  }
};

// A table of `rows` rows, each one cell holding "row N".
THtmlTable NumberedRows(int rows) {
  THtmlTable table = NewTable();
  for (int r = 0; r < rows; ++r) {
    std::vector<TCellObj> row;
    const std::string label = "row " + std::to_string(r);
    row.push_back(TextCell(table, std::u16string(label.begin(), label.end())));
    AddRow(table, std::move(row));
  }
  return table;
}

TEST_F(DocumentFixture, OneBrandAndOneColour) {
  FillBody(document, Block(testing::BrandAndColour(u"DMC", u"310", kSwatchRed)));
  THtmlDocumentView view(document, screen);
  const TLayoutResult result = LayOut(view, 800);
  // The inner table (number 28 + swatch 54 + 2) is wider than "DMC" (24 + 4),
  // so the outer column is 84 + 4 and the outer table 88 + 2.
  EXPECT_EQ(DumpLayout(view),
            "content 10,5 h=52\n"
            "  table 10,5 90x52 min=90 max=90 cols=88 rows=22/28\n"
            "    cell r0 c0 box=12,7,98,27 at=13,8 h=18\n"
            "      text 13,8 h=18 min=24 max=24\n"
            "        line 13,8 24x18 'DMC'\n"
            "    cell r1 c0 box=12,29,98,55 at=13,30 h=24\n"
            "      table 13,30 84x24 min=84 max=84 cols=28/54 rows=22\n"
            "        cell r0 c0 box=15,32,41,52 at=16,33 h=18\n"
            "          text 16,33 h=18 min=24 max=24\n"
            "            line 16,33 24x18 '310'\n"
            "        cell r0 c1 box=43,32,95,52 at=44,42 h=0\n");
  EXPECT_EQ(result.documentHeight, 5 + 52 + 5);
  EXPECT_EQ(result.scrollWidth, 800);
}

TEST_F(DocumentFixture, EmptyDocumentHasNoContent) {
  THtmlDocumentView unparsed(document, screen);
  EXPECT_FALSE(unparsed.HasContent());
  FillBody(document, std::vector<std::unique_ptr<TSectionBase>>{});
  THtmlDocumentView empty(document, screen);
  EXPECT_FALSE(empty.HasContent());
  const TLayoutResult result = LayOut(empty, 300);
  EXPECT_EQ(result.documentHeight, 10);
  EXPECT_EQ(empty.CharPosAt({20, 20}), -1);
  EXPECT_TRUE(empty.WordAt(0).IsEmpty());
}

TEST_F(DocumentFixture, UnbreakableNumberListMakesTheTableOverflow) {
  THtmlTable table = NewTable();
  std::vector<TCellObj> row;
  row.push_back(TextCell(table, u"310,4390,550,666"));  // 128 pixels, no break opportunity
  AddRow(table, std::move(row));
  FillBody(document, Block(std::move(table)));
  THtmlDocumentView view(document, screen);
  const TLayoutResult result = LayOut(view, 100);
  const TSectionLayout& text = *view.Sections().at(0);
  ASSERT_EQ(text.Lines().size(), 1u);
  EXPECT_EQ(text.Lines()[0].width, 128);
  EXPECT_EQ(result.scrollWidth, 10 + 134 + 10);  // 128 + 4 in the column, + 2 spacing
  EXPECT_EQ(result.documentHeight, 5 + 24 + 5);
}

TEST_F(DocumentFixture, NameWrapsAtSpacesBeforeTheTableOverflows) {
  THtmlTable table = NewTable();
  std::vector<TCellObj> row;
  row.push_back(TextCell(table, u"Very Dark Garnet"));
  AddRow(table, std::move(row));
  FillBody(document, Block(std::move(table)));
  THtmlDocumentView view(document, screen);
  struct Case {
    int width;
    std::size_t lines;
    int scrollWidth;
  };
  // The body gives the table width - 20; the column needs text + 4 and the table 2 more.
  for (const Case& c : std::vector<Case>{{400, 1, 400}, {100, 2, 100}, {70, 3, 20 + 54}, {40, 3, 20 + 54}}) {
    const TLayoutResult result = LayOut(view, c.width);
    EXPECT_EQ(view.Sections()[0]->Lines().size(), c.lines) << c.width;
    EXPECT_EQ(result.scrollWidth, c.scrollWidth) << c.width;
    EXPECT_EQ(result.documentHeight, 5 + static_cast<int>(c.lines) * 18 + 6 + 5) << c.width;
  }
}

TEST_F(DocumentFixture, CentredTableSitsInTheMiddleOfTheBody) {
  auto block = Block(testing::NumberAndSwatch(u"310", kSwatchRed));
  block->Justify = TTextAlign::Center;
  FillBody(document, std::move(block));
  THtmlDocumentView view(document, screen);
  LayOut(view, 304);  // content 284 wide, table 84: 100 on each side
  const auto& item = view.Content().Items().at(0);
  EXPECT_EQ(item.table->Left(), 110);
}

TEST_F(DocumentFixture, SwatchIsFilledInsideItsPaddingAndTextIsDrawnInItsCell) {
  FillBody(document, Block(testing::BrandAndColour(u"DMC", u"310", kSwatchRed)));
  THtmlDocumentView view(document, screen);
  LayOut(view, 800);
  TPaintContext context = Context();
  context.xOffset = -3;
  context.yTop = 4;
  // Contents that stay inside their cells are drawn without clips.
  EXPECT_EQ(PaintOf(view, context, {"fill", "text", "clip"}),
            "text 10,4 'DMC' #000000\n"
            "text 13,29 '310' #000000\n"
            "fill 40,28,92,48 #C01020\n");
}

TEST_F(DocumentFixture, CellWithBordersFillsInsideThemAndDrawsThemAfterTheContent) {
  THtmlTable table = NewTable();
  TCellObj cell = TextCell(table, u"ab");
  for (int s = 0; s < 4; ++s) {
    cell.BorderWidth[static_cast<std::size_t>(s)] = 1;
    cell.BorderStyle[static_cast<std::size_t>(s)] = bssSolid;
    cell.BorderColor[static_cast<std::size_t>(s)] = platform::Rgb(0, 0, 0xFF);
  }
  cell.HzSpace = cell.VrSpace = 4;
  cell.BgColor = platform::Rgb(0xFF, 0xFF, 0);
  std::vector<TCellObj> row;
  row.push_back(std::move(cell));
  AddRow(table, std::move(row));
  FillBody(document, Block(std::move(table)));
  THtmlDocumentView view(document, screen);
  LayOut(view, 400);
  // Cell box 12,7 to 32,29: 16 of text + 4 of padding and border, 18 + 4 high.
  EXPECT_EQ(PaintOf(view, Context(), {"fill", "text"}),
            "fill 13,8,31,28 #FFFF00\n"
            "text 14,9 'ab' #000000\n"
            "fill 12,7,32,8 #0000FF\n"
            "fill 31,8,32,28 #0000FF\n"
            "fill 12,28,32,29 #0000FF\n"
            "fill 12,8,13,28 #0000FF\n");
}

TEST_F(DocumentFixture, EmptyCellDrawsItsBordersOnlyWhenAskedTo) {
  struct Case {
    bool showEmpty;
    int style;
    std::string painted;
  };
  // An empty 50-pixel cell with 1-pixel borders: box 12,7 to 66,11.
  const std::string fill = "fill 13,8,65,10 #FF8800\n";
  const std::vector<Case> cases = {
      {false, bssSolid, fill},
      {true, bssSolid,
       fill + "fill 12,7,66,8 #0000FF\nfill 65,8,66,10 #0000FF\nfill 12,10,66,11 #0000FF\nfill 12,8,13,10 #0000FF\n"},
      // Sunken: the table's dark colour above and left, its light one below and right.
      {true, bssInset,
       fill + "fill 12,7,66,8 #A0A0A0\nfill 65,8,66,10 #FFFFFF\nfill 12,10,66,11 #FFFFFF\nfill 12,8,13,10 #A0A0A0\n"},
  };
  for (const Case& c : cases) {
    ThtDocument doc;
    THtmlTable table = NewTable();
    TCellObj cell = testing::SwatchCell(table, platform::Rgb(0xFF, 0x88, 0));
    for (std::size_t s = 0; s < 4; ++s) {
      cell.BorderWidth[s] = 1;
      cell.BorderStyle[s] = c.style;
      cell.BorderColor[s] = platform::Rgb(0, 0, 0xFF);
    }
    cell.HzSpace = cell.VrSpace = 4;
    cell.ShowEmptyCells = c.showEmpty;
    std::vector<TCellObj> row;
    row.push_back(std::move(cell));
    AddRow(table, std::move(row));
    FillBody(doc, Block(std::move(table)));
    THtmlDocumentView view(doc, screen);
    LayOut(view, 400);
    EXPECT_EQ(PaintOf(view, Context(), {"fill"}), c.painted) << c.showEmpty << " " << c.style;
  }
}

TEST_F(DocumentFixture, RowsOutsideTheClipAreNotPainted) {
  FillBody(document, Block(NumberedRows(10)));
  THtmlDocumentView view(document, screen);
  LayOut(view, 400);
  // Rows are 22 high from y 5: row N covers 5 + 22N + 2 .. 5 + 22(N + 1).
  struct Case {
    int yTop;
    int top;
    int bottom;
    std::vector<int> rows;
  };
  const std::vector<Case> cases = {
      {0, 0, 2000, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {0, 73, 110, {3, 4}},       // 73 is row 3's first line, 110 just below row 4
      {0, 69, 70, {2}},           // the last pixel of row 2's text
      {0, 71, 73, {}},            // only the spacing above row 3
      {50, 23, 60, {3, 4}},       // the same rows scrolled: document 73 .. 110
      {0, 300, 400, {}},
  };
  for (const Case& c : cases) {
    TPaintContext context = Context(c.top, c.bottom);
    context.yTop = c.yTop;
    std::string expected;
    for (int r : c.rows) {
      expected += "text 13," + std::to_string(5 + 22 * r + 3 - c.yTop) + " 'row " + std::to_string(r) + "' #000000\n";
    }
    EXPECT_EQ(PaintOf(view, context, {"text"}), expected) << c.top << ".." << c.bottom;
  }
}

// A word far wider than the view is drawn only where the clip shows it, so a
// paint costs what is visible whatever the length of the word.
TEST_F(DocumentFixture, LongWordIsDrawnOnlyInsideTheClip) {
  THtmlTable table = NewTable();
  std::vector<TCellObj> row;
  row.push_back(TextCell(table, std::u16string(2000, u'x')));
  AddRow(table, std::move(row));
  FillBody(document, Block(std::move(table)));
  THtmlDocumentView view(document, screen);
  LayOut(view, 400);
  // Glyphs are 8 wide from x 13: characters 48 to 58 reach into 400..480,
  // and one more on each side is drawn for overhanging glyphs.
  const auto xs = [](int n) { return std::string(static_cast<std::size_t>(n), 'x'); };
  struct Case {
    int left, right, xOffset;
    TSelection selection;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {400, 480, 0, {}, "text 389,8 '" + xs(13) + "' #000000\n"},
      {0, 80, -400, {}, "text -11,8 '" + xs(13) + "' #000000\n"},
      {400, 480, 0, {1000, 1500}, "text 389,8 '" + xs(13) + "' #000000\n"},
      {400, 480, 0, {50, 55},
       "text 389,8 '" + xs(3) + "' #000000\ntext 413,8 '" + xs(5) + "' #FFFFFF on #000000\ntext 453,8 '" + xs(5) +
           "' #000000\n"},
  };
  for (const Case& c : cases) {
    TPaintContext context = Context();
    context.clip.left = c.left;
    context.clip.right = c.right;
    context.xOffset = c.xOffset;
    context.selection = c.selection;
    EXPECT_EQ(PaintOf(view, context, {"text"}), c.expected) << c.left << ".." << c.right;
  }
}

TEST_F(DocumentFixture, SelectedTextIsDrawnOpaqueInSwappedColours) {
  FillBody(document, Block(testing::BrandAndColour(u"DMC", u"310", kSwatchRed)));
  THtmlDocumentView view(document, screen);
  LayOut(view, 800);
  TPaintContext context = Context();
  context.selection = {1, 5};  // "MC" and "31": positions count "DMC" then "310"
  EXPECT_EQ(PaintOf(view, context, {"text"}),
            "text 13,8 'D' #000000\n"
            "text 21,8 'MC' #FFFFFF on #000000\n"
            "text 16,33 '31' #FFFFFF on #000000\n"
            "text 32,33 '0' #000000\n");
}

TEST_F(DocumentFixture, SelectedTextPutsRowsOnLinesAndCellsBetweenTabs) {
  THtmlTable table = NewTable();
  for (const auto& texts : {std::vector<std::u16string>{u"DMC", u"Anchor"}, std::vector<std::u16string>{u"310", u"403"}}) {
    std::vector<TCellObj> row;
    for (const std::u16string& text : texts) row.push_back(TextCell(table, text));
    AddRow(table, std::move(row));
  }
  FillBody(document, Block(std::move(table)));
  THtmlDocumentView view(document, screen);
  LayOut(view, 800);
  // Positions: "DMC" 0..2, "Anchor" 3..8, "310" 9..11, "403" 12..14.
  struct Case {
    TSelection selection;
    std::u16string text;
  };
  for (const Case& c : {Case{{0, 15}, u"DMC\tAnchor\n310\t403"}, Case{{4, 11}, u"nchor\n31"},
                        Case{{10, 2}, u"C\tAnchor\n3"}, Case{{5, 5}, u""}, Case{{9, 12}, u"310"}}) {
    EXPECT_TRUE(view.SelectedText(c.selection) == c.text)
        << c.selection.anchor << ".." << c.selection.caret;
  }
}

TEST_F(DocumentFixture, TextColourComesFromTheScreenWhenSymbolic) {
  FillBody(document, Block(testing::BrandAndColour(u"DMC", u"310", kSwatchRed)));
  screen.windowTextColor = platform::Rgb(0x11, 0x22, 0x33);
  THtmlDocumentView view(document, screen);
  LayOut(view, 800);
  const std::string painted = PaintOf(view, Context(), {"text"});
  EXPECT_NE(painted.find("'DMC' #112233"), std::string::npos) << painted;
}

TEST_F(DocumentFixture, CharacterPositionsAndWordsRoundTrip) {
  std::vector<std::unique_ptr<TSectionBase>> items;
  items.push_back(testing::Text(u"Anchor 310"));
  items.push_back(Block(testing::BrandAndColour(u"DMC", u"4390", kSwatchRed)));
  FillBody(document, std::move(items));
  THtmlDocumentView view(document, screen);
  LayOut(view, 800);
  ASSERT_EQ(view.TextLength(), 10 + 3 + 4);
  struct Case {
    platform::Point p;
    int position;
    TSelection word;
  };
  // "Anchor 310" at 10,5; "DMC" at 13,26 (the table starts at y 23); "4390" at 16,51.
  const std::vector<Case> cases = {
      {{10, 10}, 0, {0, 6}},
      {{35, 10}, 3, {0, 6}},
      {{75, 10}, 8, {7, 10}},
      {{0, 0}, 0, {0, 6}},
      {{22, 30}, 11, {10, 13}},  // between "D" and "M"
      {{40, 55}, 16, {13, 17}},  // between "9" and "0"
      {{500, 60}, 17, {13, 17}},
  };
  for (const Case& c : cases) {
    const int position = view.CharPosAt(c.p);
    EXPECT_EQ(position, c.position) << c.p.x << "," << c.p.y;
    EXPECT_EQ(view.WordAt(position), c.word) << c.p.x << "," << c.p.y;
  }
  EXPECT_TRUE(view.WordAt(-1).IsEmpty());
  EXPECT_EQ(view.WordAt(6), (TSelection{0, 6}));  // just after "Anchor", before the space
  EXPECT_TRUE(view.WordAt(200).IsEmpty());
}

TEST(ParsedPageLayoutTest, ResultPageOfOneBrandAndOneColour) {
  testing::LoadedView loaded;
  loaded.Load(testing::ResultPage({"DMC"}, {{{{"#ff8800", "310"}}}}));
  THtmlDocumentView view(loaded.Document(), platform::ScreenInfo{});
  RecordingCanvas canvas;
  const TLayoutResult result = view.LayOut(canvas, 800, 600);
  // The page puts the swatch before the number: columns 54 and 28.
  EXPECT_EQ(DumpLayout(view),
            "content 10,5 h=52\n"
            "  table 10,5 90x52 min=90 max=90 cols=88 rows=22/28\n"
            "    cell r0 c0 box=12,7,98,27 at=13,8 h=18\n"
            "      text 13,8 h=18 min=24 max=24\n"
            "        line 13,8 24x18 'DMC'\n"
            "    cell r1 c0 box=12,29,98,55 at=13,30 h=24\n"
            "      table 13,30 84x24 min=84 max=84 cols=54/28 rows=22\n"
            "        cell r0 c0 box=15,32,67,52 at=16,42 h=0\n"
            "        cell r0 c1 box=69,32,95,52 at=70,33 h=18\n"
            "          text 70,33 h=18 min=24 max=24\n"
            "            line 70,33 24x18 '310'\n");
  EXPECT_EQ(result.documentHeight, 62);
  TPaintContext context;
  context.clip = {0, 0, 6000, 600};
  view.Paint(canvas, context);
  EXPECT_NE(canvas.Dump({"fill"}).find("fill 15,32,67,52 #FF8800"), std::string::npos) << canvas.Dump();
}

// The outer table of a five-brand page, parsed, at several view widths.
TEST(ParsedPageLayoutTest, FiveBrandsShrinkAndWrapBeforeOverflowing) {
  testing::LoadedView loaded;
  const std::string kirov = "\xcf\xcd\xca \xe8\xec. \xca\xe8\xf0\xee\xe2\xe0";
  loaded.Load(testing::ResultPage({"DMC", "Gamma", "Anchor", "Madeira", kirov},
                                  {{{{"#ff8800", "740"}, {"", ""}, {"#f80", "316"}, {"#ff8800", "0204"},
                                     {"#ff8800", "3804"}}}}));
  THtmlDocumentView view(loaded.Document(), platform::ScreenInfo{});
  RecordingCanvas canvas;
  auto lineCount = [&](const std::string& text) {
    const std::string dump = DumpLayout(view);
    int n = 0;
    for (std::size_t at = dump.find(text); at != std::string::npos; at = dump.find(text, at + 1)) ++n;
    return n;
  };
  auto outerWidth = [&] {
    const std::string dump = DumpLayout(view);
    const std::size_t at = dump.find("table 10,5 ") + 11;
    return std::stoi(dump.substr(at, dump.find('x', at) - at));
  };

  const TLayoutResult wide = view.LayOut(canvas, 2000, 600);
  const int natural = outerWidth();
  EXPECT_EQ(lineCount("line "), 5 + 4);  // five headers on one line each, four numbers
  EXPECT_EQ(wide.scrollWidth, 2000);

  // Narrower than the columns' maxima: the name wraps at its spaces and the
  // table takes exactly the width available.
  const int narrow = natural - 20;
  view.LayOut(canvas, narrow + 20, 600);
  EXPECT_EQ(outerWidth(), narrow);
  EXPECT_GT(lineCount("line "), 5 + 4);

  // Far below the minima: the table stops shrinking and the view scrolls.
  const TLayoutResult tiny = view.LayOut(canvas, 100, 600);
  const int minimum = outerWidth();
  EXPECT_GT(minimum, 80);
  EXPECT_EQ(tiny.scrollWidth, minimum + 20);
  view.LayOut(canvas, 50, 600);
  EXPECT_EQ(outerWidth(), minimum);
}

}  // namespace
}  // namespace talmeko::htmlview
