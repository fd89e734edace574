#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "htmlview/base/exceptions.h"
#include "htmlview/parse/section.h"
#include "parse_support.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {
namespace {

using testing::LoadedView;
using testing::PageColour;
using testing::ResultPage;

const TBodyBlock& BodyOf(const ThtDocument& doc) {
  const TBodyBlock* body = doc.Body();
  EXPECT_NE(body, nullptr);
  return *body;
}

const THtmlTable& OuterTable(const ThtDocument& doc) {
  const TBodyBlock& body = BodyOf(doc);
  EXPECT_EQ(body.Content.Count(), 1u);
  EXPECT_EQ(body.Content[0].Kind(), TSectionKind::TableBlock);
  return static_cast<const TTableBlock&>(body.Content[0]).Table;
}

const THtmlTable& InnerTable(const TCellObj& cell) {
  EXPECT_EQ(cell.Cell.Count(), 1u);
  EXPECT_EQ(cell.Cell[0].Kind(), TSectionKind::TableBlock);
  return static_cast<const TTableBlock&>(cell.Cell[0]).Table;
}

std::u16string TextOf(const TCellObj& cell) {
  if (cell.Cell.Empty() || cell.Cell[0].Kind() != TSectionKind::Section) return u"";
  return static_cast<const TSection&>(cell.Cell[0]).Text();
}

TEST(TreeBuilder, OneBrandOneColourDump) {
  LoadedView v;
  v.Load(ResultPage({"DMC"}, {{{{"#ff8800", "310"}}}}));
  EXPECT_EQ(v.Dump(),
            "body margin 5,10,5,10 bg none\n"
            "  table padding 1 spacing 2 border 0 width none justify left\n"
            "    row valign middle bg none\n"
            "      cell span 1x1 width none valign middle padding 1,1,1,1 border 0,0,0,0 bg none\n"
            "        text left 'DMC' | arial 12pt normal sys8\n"
            "    row valign middle bg none\n"
            "      cell span 1x1 width none valign middle padding 1,1,1,1 border 0,0,0,0 bg none\n"
            "        table padding 1 spacing 2 border 0 width none justify left\n"
            "          row valign middle bg none\n"
            "            cell span 1x1 width 50px valign middle padding 1,1,1,1 border 0,0,0,0 bg #FF8800\n"
            "            cell span 1x1 width none valign middle padding 1,1,1,1 border 0,0,0,0 bg none\n"
            "              text left '310' | arial 12pt normal sys8\n");
  EXPECT_TRUE(v.Document().UseQuirksMode);
}

TEST(TreeBuilder, PageShapesGiveRowsAndCells) {
  struct Case {
    const char* name;
    std::vector<std::string> brands;
    std::vector<PageColour> rows;
  } cases[] = {
      {"one column, no colour", {"DMC"}, {}},
      {"one column, one row", {"DMC"}, {{{{"#000000", "310"}}}}},
      {"five columns, many rows",
       {"DMC", "\xc3\xe0\xec\xec\xe0", "Anchor", "Madeira", "\xcf\xcd\xca \xe8\xec. \xca\xe8\xf0\xee\xe2\xe0"},
       {{{{"#ff8800", "740"}, {"#f80", "0203"}, {"", ""}, {"A21B22", "5279"}, {"#112233", "1, 2"}}},
        {{{"#000000", "310"}, {"#000000", "2402"}, {"#000000", "403"}, {"#000000", "2400"}, {"#000000", "0101"}}},
        {{{"#ffffff", "B5200"}, {"", ""}, {"", ""}, {"", ""}, {"", ""}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedView v;
    v.Load(ResultPage(c.brands, c.rows));
    const THtmlTable& outer = OuterTable(v.Document());
    ASSERT_EQ(outer.Rows.size(), c.rows.size() + 1);
    for (std::size_t b = 0; b < c.brands.size(); ++b) {
      EXPECT_EQ(platform::Utf16ToUtf8(TextOf(outer.Rows[0].Cells[b])), platform::Cp1251ToUtf8(c.brands[b]));
    }
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
      const TCellList& row = outer.Rows[r + 1];
      ASSERT_EQ(row.Cells.size(), c.brands.size());
      for (std::size_t b = 0; b < c.brands.size(); ++b) {
        const THtmlTable& inner = InnerTable(row.Cells[b]);
        ASSERT_EQ(inner.Rows.size(), 1u);
        ASSERT_EQ(inner.Rows[0].Cells.size(), 2u);
        EXPECT_TRUE(inner.Rows[0].Cells[0].Cell.Empty());
        EXPECT_EQ(inner.Rows[0].Cells[0].SpecWd, (TSpecWidth{50, TWidthType::wtAbsolute}));
        EXPECT_EQ(platform::Utf16ToUtf8(TextOf(inner.Rows[0].Cells[1])), c.rows[r].cells[b].second);
      }
    }
  }
}

TEST(TreeBuilder, SwatchBackgroundsFromColourCodes) {
  LoadedView v;
  v.Load(ResultPage({"A", "B", "C", "D", "E"},
                    {{{{"#ff8800", "1"}, {"#FF8800", "2"}, {"#f80", "3"}, {"", "4"}, {"A21B22", "5"}}}}));
  const TCellList& row = OuterTable(v.Document()).Rows[1];
  const platform::Color expected[] = {0x0088FF, 0x0088FF, 0x0088FF, platform::kNoColor, platform::kNoColor};
  for (int b = 0; b < 5; ++b) {
    SCOPED_TRACE(b);
    const TCellObj& swatch = InnerTable(row.Cells[b]).Rows[0].Cells[0];
    EXPECT_EQ(swatch.BgColor, expected[b]);
    EXPECT_EQ(swatch.HzSpace, 2);
    EXPECT_EQ(swatch.VrSpace, 2);
  }
}

TEST(TreeBuilder, ImpliedEndTagsAndNesting) {
  struct Case {
    const char* name;
    std::string html;
    std::string dumpLines;  // the structure lines only: tables, rows, cells and texts
  } cases[] = {
      {"rows without end tags", "<table><tr><td>a<td>b<tr><td>c<td>d</table>",
       "table|row|cell|'a'|cell|'b'|row|cell|'c'|cell|'d'|"},
      {"cells without a row", "<table><td>a<td>b</table>", "table|row|cell|'a'|cell|'b'|"},
      {"nested table closed early",
       "<table><tr><td><table><tr><td>x</table>y</td><td>z</table>",
       "table|row|cell|table|row|cell|'x'|'y'|cell|'z'|"},
      {"whitespace between tags", "<table> \r\n <tr> <td>a</td> \r\n </tr>  </table>", "table|row|cell|'a'|"},
      {"text outside cells goes before the table", "<table>oops<tr><td>a</table>", "'oops'|table|row|cell|'a'|"},
      {"stray cell end tags outside tables", "</td></tr>x</table>", "'x'|"},
      {"hidden row", "<table><tr style=\"display:none\"><td>a<tr><td>b</table>", "table|row|cell|'b'|"},
      {"footer rows come last", "<table><tfoot><tr><td>f<tbody><tr><td>b</table>",
       "table|row|cell|'b'|row|cell|'f'|"},
      {"unknown tags are skipped", "<blink>a</blink><table><tr><td><b>b</b></table>", "'a'|table|row|cell|'b'|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedView v;
    v.Load(c.html);
    std::string shape;
    const std::string dump = v.Dump();
    std::size_t at = 0;
    while (at < dump.size()) {
      const std::size_t end = dump.find('\n', at);
      std::string line = dump.substr(at, end - at);
      at = end + 1;
      line.erase(0, line.find_first_not_of(' '));
      const std::string word = line.substr(0, line.find(' '));
      if (word == "text") {
        const std::size_t q = line.find('\'');
        shape += line.substr(q, line.find('\'', q + 1) - q + 1) + "|";
      } else if (word != "body") {
        shape += word + "|";
      }
    }
    EXPECT_EQ(shape, c.dumpLines);
  }
}

int CountTables(const TCellBasic& list) {
  int n = 0;
  for (const auto& item : list) {
    if (item->Kind() != TSectionKind::TableBlock) continue;
    const THtmlTable& t = static_cast<const TTableBlock&>(*item).Table;
    ++n;
    for (const auto& row : t.Rows) {
      for (const auto& cell : row.Cells) n += CountTables(cell.Cell);
    }
  }
  return n;
}

TEST(TreeBuilder, TablesNestTenLevelsDeep) {
  for (int levels : {10, 11, 40}) {
    std::string html;
    for (int i = 0; i < levels; ++i) html += "<table><tr><td>";
    html += "deep";
    for (int i = 0; i < levels; ++i) html += "</td></tr></table>";
    LoadedView v;
    v.Load(html);
    EXPECT_EQ(CountTables(BodyOf(v.Document()).Content), std::min(levels, 10)) << levels;
  }
}

TEST(TreeBuilder, DeepNestingOfAnyElementIsSafe) {
  std::string html;
  for (int i = 0; i < 100000; ++i) html += "<div><span><td><tr><table>";
  html += "end";
  LoadedView v;
  v.Load(html);
  EXPECT_FALSE(v.Document().IsEmpty());
}

TEST(TreeBuilder, EmptyStreamGivesEmptyBody) {
  LoadedView v;
  v.Load(ResultPage({"DMC"}, {}));
  EXPECT_FALSE(v.Document().IsEmpty());
  v.Load("");
  EXPECT_TRUE(v.Document().IsEmpty());
  EXPECT_EQ(v.Dump(), "body margin 5,10,5,10 bg none\n");
}

TEST(TreeBuilder, OpenCommentKeepsWhatCameBefore) {
  LoadedView v;
  v.Load("<table><tr><td>kept<td>also<!-- never closed <td>lost");
  EXPECT_EQ(v.Dump(),
            "body margin 5,10,5,10 bg none\n"
            "  table padding 1 spacing 2 border 0 width none justify left\n"
            "    row valign middle bg none\n"
            "      cell span 1x1 width none valign middle padding 1,1,1,1 border 0,0,0,0 bg none\n"
            "        text left 'kept' | Times New Roman 12pt normal sys8\n"
            "      cell span 1x1 width none valign middle padding 1,1,1,1 border 0,0,0,0 bg none\n"
            "        text left 'also' | Times New Roman 12pt normal sys8\n");
}

TEST(TreeBuilder, UnterminatedStyleCommentEndsThePage) {
  LoadedView v;
  v.Load("before<style>td{color:red} /* open</style><table><tr><td>after</table>");
  EXPECT_EQ(v.Dump(),
            "body margin 5,10,5,10 bg none\n"
            "  text left 'before' | Times New Roman 12pt normal sys8\n");
}

TEST(TreeBuilder, BodyTagSetsMarginsAndColours) {
  struct Case {
    const char* html;
    const char* bodyLine;
  } cases[] = {
      {"<body>x", "body margin 5,10,5,10 bg none"},
      {"<body marginwidth=3 marginheight=400>x", "body margin 200,3,200,3 bg none"},
      {"<body leftmargin=-5 topmargin=7 bgcolor=#ff0000>x", "body margin 7,0,7,0 bg #FF0000"},
      {"<style>body{margin:1px}</style><body marginwidth=30>x", "body margin 1,1,1,1 bg none"},
      {"x<body marginwidth=30>y", "body margin 5,10,5,10 bg none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    LoadedView v;
    v.Load(c.html);
    const std::string dump = v.Dump();
    EXPECT_EQ(dump.substr(0, dump.find('\n')), c.bodyLine);
  }
}

TEST(TreeBuilder, LoadMessages) {
  LoadedView v;
  try {
    v.View().LoadDocument(nullptr, "", TDocType::HTMLType);
    ADD_FAILURE() << "no exception";
  } catch (const EhtException& e) {
    EXPECT_STREQ(e.what(), "LoadDocument requires document to load. Parameter 'Document' must not be nil.");
  }
  try {
    v.View().LoadDocument(std::make_unique<TBuffer>("x", "", 1), "", TDocType::ImgType);
    ADD_FAILURE() << "no exception";
  } catch (const EhtException& e) {
    EXPECT_STREQ(e.what(), "LoadDocument with DocType = 'ImgType' not supported.");
  }
  EXPECT_FALSE(v.View().Processing());
  v.View().LoadFromStream(nullptr, "", TDocType::HTMLType);  // nothing happens
}

TEST(TreeBuilder, StreamIsReadFromItsFirstByte) {
  LoadedView v;
  std::stringstream stream;
  stream << "<table><tr><td>first</table>";
  ASSERT_EQ(stream.tellp(), 28);  // the writer leaves the position at the end
  stream.seekg(0, std::ios::end);
  v.View().LoadFromStream(&stream, "", TDocType::HTMLType);
  EXPECT_NE(v.Dump().find("'first'"), std::string::npos);
}

class RecordingEvents : public THtmlViewEvents {
 public:
  void SetBusy(bool busy) override { log += busy ? "busy;" : "idle;"; }
  void DocumentChanged() override { log += "changed;"; }
  std::string log;
};

TEST(TreeBuilder, LoadReportsBusyAndChangedInOrder) {
  LoadedView v;
  RecordingEvents events;
  v.View().SetEvents(&events);
  v.Load("<p>x");
  EXPECT_EQ(events.log, "busy;changed;idle;");
}

// Found by fuzzing: a style sheet inside a cell changes the rules while the
// cell's set, taken from the page's set cache, is open.
TEST(TreeBuilder, StyleSheetInsideAnOpenCell) {
  LoadedView v;
  v.Load("<table><tr><td>a<td>b<style>td{color:#ff0000}</style>c<td>d</table>");
  const std::string dump = v.Dump();
  EXPECT_NE(dump.find("'bc' | Times New Roman 12pt normal sys8"), std::string::npos) << dump;
  EXPECT_NE(dump.find("'d' | Times New Roman 12pt normal #FF0000"), std::string::npos) << dump;
}

TEST(TreeBuilder, TextDocumentShowsEveryLineInThePreformattedFont) {
  LoadedView v;
  v.View().LoadDocument(std::make_unique<TBuffer>("first <b>line\r\n\r\nthird\tline", "", 1), "",
                        TDocType::TextType);
  EXPECT_EQ(v.Dump(),
            "body margin 5,10,5,10 bg none\n"
            "  text left 'first <b>line' | Courier New 12pt normal sys8\n"
            "  text left 'third line' | Courier New 12pt normal sys8\n");
}


// More distinct style attributes than the page's set cache keeps: the cells
// past its limit get sets of their own, and the sets it keeps stay as they
// were. Each pair of cells shares a class, so the plain one of a pair is
// opened from the set its styled partner was computed from; one cell more
// or less in front moves which of the two fills the cache.
TEST(TreeBuilder, SetsStayRightPastTheSetCacheLimit) {
  constexpr int kPairs = 3000;
  auto hex = [](int n) {
    char code[8];
    std::snprintf(code, sizeof code, "%06x", n * 97 % 0x1000000);
    return std::string(code);
  };
  for (int lead = 0; lead < 2; ++lead) {
    std::string page = "<table><tr>";
    if (lead == 1) page += "<td>";
    for (int i = 0; i < kPairs; ++i) {
      const std::string cls = "c" + std::to_string(i);
      page += "<td class=\"" + cls + "\" style=\"background:#" + hex(i) + "\"><td class=\"" + cls + "\">x";
    }
    page += "</table>";
    LoadedView v;
    v.Load(page);
    const THtmlTable& table = OuterTable(v.Document());
    ASSERT_EQ(table.Rows.size(), 1u);
    const auto& cells = table.Rows[0].Cells;
    ASSERT_EQ(cells.size(), 2u * kPairs + static_cast<std::size_t>(lead));
    for (int i = 0; i < kPairs; ++i) {
      const auto styled = static_cast<std::size_t>(2 * i + lead);
      const unsigned rgb = static_cast<unsigned>(i) * 97 % 0x1000000;
      const platform::Color expected = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
      ASSERT_EQ(cells[styled].BgColor, expected) << lead << " " << i;
      ASSERT_EQ(cells[styled + 1].BgColor, platform::kNoColor) << lead << " " << i;
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
