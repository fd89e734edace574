// Elements with a style attribute get their set as the set they would have
// without it with the attribute's slots written over it, reusing the copy the
// last such element at the same depth left behind. These tests compare that
// with computing every set from scratch.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "htmlview/style/prop_stack.h"
#include "htmlview/style/style_sheet_parser.h"
#include "parse_support.h"
#include "property_description.h"

namespace talmeko::htmlview {
namespace {

using testing::DescribeSlots;
using testing::LoadedView;

struct Stack {
  Stack() {
    doc.Styles.Initialize(defaults, true, *doc.Pool, 96);
    TBuffer sheet("td{padding:3px} .n{font-size:8pt} span{color:blue}</style>", "", platform::kDefaultCharset);
    TStyleSheetParser(sheet, doc.Styles).Parse();
    doc.PropStack.Reset(doc.Styles);
  }
  ViewDefaults defaults;
  ThtDocument doc;
};

// The same random run of opening, changing and closing elements on two
// stacks: one opens elements as the parser does, the other computes each set
// on its own with the style attribute parsed first. Every set must be equal,
// and sets given equal ids must be equal sets.
TEST(StyledSets, SharedSetsEqualSetsComputedAlone) {
  const std::u16string styles[] = {
      u"background:#ff8800;width:50px", u"background:#0000ff;width:50px", u"background:;width:50px",
      u"font-weight:bold", u"font-size:150%;color:red", u"font:italic 10pt courier new", u"",
      u"padding:0;border:1px solid red", u"margin-left:4px;text-align:right", u"width:50px;font-size:2em",
      u"color:#123456", u"background:red;font-weight:bold;font-size:x-large"};
  const char* const tags[] = {"td", "span", "p", "div"};
  std::mt19937 random(12345);
  auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  for (int run = 0; run < 20; ++run) {
    Stack shared;
    Stack alone;
    THtmlPropStack& a = shared.doc.PropStack;
    THtmlPropStack& b = alone.doc.PropStack;
    for (const char* tag : {"body", "table", "tr"}) {
      a.PushElement(tag, {}, {}, {}, nullptr);
      b.PushProp(tag, {}, {}, nullptr, {});
    }
    std::vector<std::pair<std::uint32_t, std::string>> seen;
    for (int step = 0; step < 300; ++step) {
      const std::size_t action = pick(10);
      if (action < 2 && a.Depth() > 4) {
        const std::string tag(a.Top().PropTag);
        a.PopProp(tag);
        b.PopProp(tag);
      } else if (action == 2 && a.Depth() > 4) {
        // A change after the cascade, as the parser makes to a body.
        const TPropValue v = TPropValue::MakeInt(static_cast<std::int64_t>(pick(9)));
        a.SetPropUnlessRule(MarginTop, v);
        b.SetPropUnlessRule(MarginTop, v);
      } else if (action == 3 && pick(20) == 0) {
        // A style element in the middle of the page: sets made before it
        // no longer hold for the elements after it.
        const std::string rule = "td{color:#" + std::to_string(100000 + step) + "}</style>";
        for (Stack* s : {&shared, &alone}) {
          TBuffer sheet(rule, "", platform::kDefaultCharset);
          TStyleSheetParser(sheet, s->doc.Styles).Parse();
        }
        continue;
      } else {
        if (a.Depth() > 8) {
          a.PopToDepth(4);
          b.PopToDepth(4);
        }
        const char* tag = a.Depth() == 3 ? "td" : tags[pick(4)];
        const std::string_view cls = pick(4) == 0 ? "n" : "";
        const bool styled = pick(5) != 0;
        const std::u16string& style = styles[pick(std::size(styles))];
        a.PushElement(tag, cls, {}, {}, styled ? &style : nullptr);
        TProperties parsed;
        if (styled) ParseStyleAttribute(style, *alone.doc.Pool, parsed);
        b.PushProp(tag, cls, {}, styled ? &parsed : nullptr, {});
      }
      ASSERT_EQ(a.Depth(), b.Depth());
      const std::string description = DescribeSlots(a.Top(), true);
      ASSERT_EQ(description, DescribeSlots(b.Top(), true)) << "run " << run << " step " << step;
      for (const auto& [id, text] : seen) {
        if (id == a.TopId()) {
          ASSERT_EQ(text, description) << "run " << run << " step " << step;
        }
      }
      seen.emplace_back(a.TopId(), description);
    }
  }
}

// A font found for one styled cell belongs to that cell only: the next cell
// at the same depth is made from the same copy, and must not keep it.
TEST(StyledSets, FontsOfNeighbouringStyledCells) {
  LoadedView v;
  v.Load("<table><tr><td style=\"font-weight:bold\">a<td style=\"background:red\">b"
         "<td style=\"font-size:20pt\">c<td style=\"color:#010203\">d<td style=\"background:red\">e"
         "<td>f<td style=\"font-weight:bold\">g</table>");
  const std::string dump = v.Dump();
  struct Expect {
    const char* word;
    const char* font;
  } expected[] = {{"a", "Times New Roman 12pt bold sys8"},   {"b", "Times New Roman 12pt normal sys8"},
                  {"c", "Times New Roman 20pt normal sys8"}, {"d", "Times New Roman 12pt normal #010203"},
                  {"e", "Times New Roman 12pt normal sys8"}, {"f", "Times New Roman 12pt normal sys8"},
                  {"g", "Times New Roman 12pt bold sys8"}};
  for (const Expect& e : expected) {
    const std::size_t at = dump.find(std::string("'") + e.word + "' | ");
    ASSERT_NE(at, std::string::npos) << e.word << "\n" << dump;
    const std::size_t from = at + 6;
    EXPECT_EQ(dump.substr(from, dump.find('\n', from) - from), e.font) << e.word;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
