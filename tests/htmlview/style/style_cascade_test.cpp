#include <gtest/gtest.h>

#include <string>

#include "htmlview/style/prop_stack.h"
#include "htmlview/style/style_sheet_parser.h"
#include "parse_support.h"

namespace talmeko::htmlview {
namespace {

using testing::LoadedView;

// The font line of the first paragraph whose text is the given word.
std::string FontOfWord(LoadedView& v, const std::string& word) {
  const std::string dump = v.Dump();
  const std::size_t at = dump.find("'" + word + "' | ");
  if (at == std::string::npos) return "(no '" + word + "' in)\n" + dump;
  const std::size_t from = at + word.size() + 5;
  return dump.substr(from, dump.find('\n', from) - from);
}

TEST(StyleCascade, ResultPageSetsAtEachLevel) {
  ViewDefaults defaults;
  ThtDocument doc;
  doc.Styles.Initialize(defaults, true, *doc.Pool, 96);
  TBuffer sheet("table{font-family:Arial,sans-serif}</style>", "", platform::kDefaultCharset);
  EXPECT_EQ(TStyleSheetParser(sheet, doc.Styles).Parse(), u'<');
  THtmlPropStack& stack = doc.PropStack;
  stack.Reset(doc.Styles);
  stack.PushProp("body", {}, {}, nullptr, {});
  EXPECT_EQ(stack.Top().TextOf(FontFamily), "Times New Roman");
  for (const char* tag : {"table", "tr", "td", "table", "tr"}) {
    stack.PushProp(tag, {}, {}, nullptr, {});
    SCOPED_TRACE(tag);
    EXPECT_EQ(stack.Top().TextOf(FontFamily), "arial,sans-serif");
    EXPECT_DOUBLE_EQ(stack.Top().FontSizePoints(0), 12);
    EXPECT_EQ(stack.Top().GetTextColor(), platform::kSystemColorBase + platform::kColorWindowText);
    EXPECT_EQ(stack.Top().TextOf(FontWeight), "normal");
  }
  TProperties swatch;
  ParseStyleAttribute(u"background:#ff8800;width:50px", *doc.Pool, swatch);
  stack.PushProp("td", {}, {}, &swatch, {});
  EXPECT_EQ(stack.Top().GetBackgroundColor(), 0x0088FFu);
  EXPECT_EQ(stack.Top().TextOf(Width), "50px");
  EXPECT_EQ(stack.Top().TextOf(FontFamily), "arial,sans-serif");
  stack.PopProp("td");
  stack.PushProp("td", {}, {}, nullptr, {});
  EXPECT_EQ(stack.Top().GetBackgroundColor(), platform::kNoColor);  // backgrounds are not inherited
}

TEST(StyleCascade, FontsOfTableTextInQuirksMode) {
  struct Case {
    const char* name;
    std::string html;
    std::string font;  // of the word "x"
  } cases[] = {
      {"result page", "<style>table{font-family:Arial,sans-serif}</style><body><table><tr><td>x</table>",
       "arial 12pt normal sys8"},
      {"body colour reaches the cells past the table's own",
       "<body text=#ff0000><table style=\"color:#0000ff\"><tr><td>x</table>", "Times New Roman 12pt normal #FF0000"},
      {"style sheet body colour reaches the table",
       "<style>body{color:#00ff00}</style><body><table style=\"color:blue\"><tr><td>x</table>",
       "Times New Roman 12pt normal #00FF00"},
      {"cells keep the default size", "<body style=\"font-size:20pt\"><table><tr><td>x</table>",
       "Times New Roman 12pt normal sys8"},
      {"the cell's own size", "<table><tr><td style=\"font-size:150%\">x</table>",
       "Times New Roman 18pt normal sys8"},
      {"cell rules still apply", "<style>td{color:#123456;font-weight:bold}</style><table><tr><td>x</table>",
       "Times New Roman 12pt bold #123456"},
      {"headers are bold", "<table><tr><th>x</table>", "Times New Roman 12pt bold sys8"},
      {"no listed family installed", "<table style=\"font-family:Nonesuch,'Other Font'\"><tr><td>x</table>",
       "Times New Roman 12pt normal sys8"},
      {"quoted family and generic monospace", "<table style=\"font-family:'Courier New'\"><tr><td>x</table>",
       "courier new 12pt normal sys8"},
      {"generic names", "<table style=\"font-family:monospace\"><tr><td>x", "Courier New 12pt normal sys8"},
      {"italic and underline",
       "<table><tr><td style=\"font:italic 900 10pt serif;text-decoration:underline\">x",
       "Times New Roman 10pt bold italic underline sys8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedView v;
    v.Load(c.html);
    EXPECT_EQ(FontOfWord(v, "x"), c.font);
  }
}

TEST(StyleCascade, StandardsModeInheritsFromTheElementAround) {
  LoadedView v;
  v.View().Defaults().QuirksMode = TQuirksMode::qmStandards;
  v.Load("<body text=#ff0000><table style=\"color:#0000ff\"><tr><td>x</table>");
  EXPECT_FALSE(v.Document().UseQuirksMode);
  EXPECT_EQ(FontOfWord(v, "x"), "Times New Roman 12pt normal #0000FF");
}

TEST(StyleCascade, WithoutArialTheDefaultFamilyIsUsed) {
  LoadedView v({"times new roman"});
  v.Load(testing::ResultPage({"DMC"}, {{{{"#ff8800", "310"}}}}));
  EXPECT_EQ(FontOfWord(v, "DMC"), "Times New Roman 12pt normal sys8");
  EXPECT_EQ(FontOfWord(v, "310"), "Times New Roman 12pt normal sys8");
}

TEST(StyleCascade, SelectorForms) {
  struct Case {
    const char* sheet;
    const char* cell;  // the attributes of the cell holding "x"
    std::string font;
  } cases[] = {
      {"td.a{color:#ff0000}", "class=a", "#FF0000"},
      {"td.a{color:#ff0000}", "class=b", "sys8"},
      {".a{color:#ff0000}", "class=\"b A\"", "#FF0000"},
      {"td.a.b{color:#ff0000}", "class=\"a b\"", "#FF0000"},
      {"#k{color:#ff0000}", "id=K", "#FF0000"},
      {"td#k{color:#ff0000}", "id=k", "#FF0000"},
      {"th#k{color:#ff0000}", "id=k", "sys8"},
      {"table td{color:#ff0000}", "", "#FF0000"},
      {"tr > td{color:#ff0000}", "", "#FF0000"},
      {"body > td{color:#ff0000}", "", "sys8"},
      {"p td{color:#ff0000}", "", "sys8"},
      {"td + td{color:#ff0000}", "", "sys8"},  // sibling selectors are dropped
      {"p, td{color:#ff0000}", "", "#FF0000"},
      {"/* note */ td{color:/**/#ff0000}", "", "#FF0000"},
      {"<!-- td{color:#ff0000} -->", "", "#FF0000"},
      {"td{color:#ff0000} td{color:#00ff00}", "", "#00FF00"},
      {"td{color:#ff0000}", "style=\"color:#0000ff\"", "#0000FF"},
      {"td{color:nonsense}", "", "sys8"},
      {"td{unknown-property:1;color:#ff0000}", "", "#FF0000"},
      {"@media print{td{color:#ff0000}} td{font-weight:bold}", "", "sys8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.sheet) + " / " + c.cell);
    LoadedView v;
    v.Load(std::string("<style>") + c.sheet + "</style><table><tr><td " + c.cell + ">x</table>");
    const std::string font = FontOfWord(v, "x");
    EXPECT_EQ(font.substr(font.rfind(' ') + 1), c.font) << font;
  }
}

// Sets of elements alike are computed once per page; what changes between
// them must still show.
TEST(StyleCascade, ElementsAlikeStayCorrect) {
  struct Case {
    const char* name;
    std::string html;
    std::string wordA, fontA, wordB, fontB;
  } cases[] = {
      {"a style sheet after the first table",
       "<table><tr><td>a</table><style>body{color:#ff0000}</style><table><tr><td>b</table>", "a",
       "Times New Roman 12pt normal sys8", "b", "Times New Roman 12pt normal #FF0000"},
      {"an align attribute on one cell only", "<table><tr><td align=right style=\"color:red\">a<td style=\"color:red\">b</table>",
       "a", "Times New Roman 12pt normal #FF0000", "b", "Times New Roman 12pt normal #FF0000"},
      {"style attributes differ", "<table><tr><td style=\"color:#010203\">a<td style=\"color:#040506\">b</table>",
       "a", "Times New Roman 12pt normal #010203", "b", "Times New Roman 12pt normal #040506"},
      {"same cell in other contexts", "<table class=x><tr><td>a</table><table><tr><td>b</table>"
       "<style>.x td{font-weight:bold}</style>", "a", "Times New Roman 12pt normal sys8", "b",
       "Times New Roman 12pt normal sys8"},
      {"descendant rule picks one context", "<style>.x td{font-weight:bold}</style><table class=x><tr><td>a</table>"
       "<table><tr><td>b</table>", "a", "Times New Roman 12pt bold sys8", "b", "Times New Roman 12pt normal sys8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedView v;
    v.Load(c.html);
    EXPECT_EQ(FontOfWord(v, c.wordA), c.fontA);
    EXPECT_EQ(FontOfWord(v, c.wordB), c.fontB);
  }
  LoadedView v;
  v.Load("<table><tr><td align=right>a<td>b</table>");
  const std::string dump = v.Dump();
  EXPECT_NE(dump.find("text right 'a'"), std::string::npos) << dump;
  EXPECT_NE(dump.find("text left 'b'"), std::string::npos) << dump;
}

// Descendant rules are found through the last compound of their selector:
// an element meets only the rules that name its tag, a class or its id, and
// the rules that match apply in the order the sheet gives them.
TEST(StyleCascade, DescendantRulesAreFoundByTheirLastCompound) {
  ViewDefaults defaults;
  ThtDocument doc;
  doc.Styles.Initialize(defaults, true, *doc.Pool, 96);
  std::string sheet = "table #x{color:#000001} div .b{color:#000002} table td.b{color:#000003} table .b{color:#000004}"
          "table td:hover{color:#000005} table > td{color:#000006}";
  for (int i = 0; i < 1000; ++i) sheet += " table .c" + std::to_string(i) + "{font-weight:bold}";
  sheet += "</style>";
  TBuffer buffer(sheet, "", platform::kDefaultCharset);
  TStyleSheetParser(buffer, doc.Styles).Parse();
  const auto& rules = doc.Styles.DescendantRules();
  const auto selectors = [&](std::string_view tag, std::string_view classes, std::string_view id) {
    std::vector<std::uint32_t> found;
    doc.Styles.CandidateRules(tag, classes, id, found);
    std::string out;
    for (std::uint32_t i : found) out += (out.empty() ? "" : "|") + rules[i].selector;
    return out;
  };
  EXPECT_EQ(selectors("td", "b.c7", "x"), "table #x|div .b|table td.b|table .b|table > td|table .c7");
  EXPECT_EQ(selectors("td", "", ""), "table > td");
  EXPECT_EQ(selectors("span", "c999", ""), "table .c999");
  EXPECT_EQ(selectors("td", "b", "").find("hover"), std::string::npos) << "a pseudo-class matches nothing";

  THtmlPropStack& stack = doc.PropStack;
  stack.Reset(doc.Styles);
  stack.PushProp("body", {}, {}, nullptr, {});
  stack.PushProp("table", {}, {}, nullptr, {});
  stack.PushProp("tr", {}, {}, nullptr, {});  // so that "table > td" does not match
  stack.PushProp("td", "b.c7", "x", nullptr, {});
  EXPECT_EQ(stack.Top().GetTextColor(), platform::Rgb(0, 0, 4)) << "the last matching rule of the sheet wins";
  EXPECT_EQ(stack.Top().TextOf(FontWeight), "bold");
}

}  // namespace
}  // namespace talmeko::htmlview
