// Tags with attributes are read straight from the text when their element
// and attribute names are found in the tables by a wider look at the text;
// the character-by-character steps must come to the same tag. A tab in place
// of each space sends a tag through those steps, so each tag is read both
// ways and compared.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "htmlview/base/buffer.h"
#include "htmlview/base/exceptions.h"
#include "htmlview/base/text_util.h"
#include "htmlview/parse/html_parser.h"
#include "htmlview/parse/symbols.h"
#include "parse_support.h"
#include "platform/canvas.h"
#include "token_dump.h"

namespace talmeko::htmlview {
namespace {

// Every symbol of the page with its attributes, text and the character left
// current, as one string.
std::string Tokens(const std::string& bytes, bool withCurrent = true) {
  return testing::DumpTokens(bytes, {.maxSymbols = 50, .foundValues = true, .current = withCurrent});
}

std::string WithTabs(std::string s) {
  std::replace(s.begin(), s.end(), ' ', '\t');
  return s;
}

TEST(TagNameLookup, ElementAndAttributeNamesNearTheTableReadAlikeBothWays) {
  // Names of the tables in either case, and names that differ from them by
  // a character more, less or changed, or that are too long for the look.
  const std::vector<std::string> elements = {
      "td", "TD", "tD", "tr", "th", "table", "TABLE", "caption", "col", "colgroup", "thead", "tbody",
      "tfoot", "title", "html", "head", "body", "style", "tdx", "t", "td1", "t_d", "tablex", "colgroupx",
      "h1", "\xe4\xe0", "/td", "/table", "/tdx", "a", "b"};
  const std::vector<std::string> attributes = {
      "style", "STYLE", "Style", "width", "border", "class", "id", "bgcolor", "cellpadding", "cellspacing",
      "bordercolor", "bordercolordark", "bordercolorlight", "bordercolorlightx", "marginheight", "nowrap",
      "styl", "stylex", "style1", "s-tyle", "$style", "-", "9", "st$le", "widt", "idd", "x"};
  const std::vector<std::string> values = {
      "=\"background:#f5f0ec;width:50px\"", "='a b'", "=7", "=-2.5%", " = 3", "", " ", "=", "=\"\"",
      "=\"x&amp;y\"", "=a&lt;b", "=\"a<b\""};
  int compared = 0;
  for (const std::string& element : elements) {
    for (const std::string& attribute : attributes) {
      for (const std::string& value : values) {
        // Text after the tag keeps every wider look inside the text; the
        // same tag at the very end leaves it nothing to look at.
        for (const std::string& after : {std::string("3866</td></table>"), std::string()}) {
          const std::string page = "<" + element + " " + attribute + value + ">" + after;
          ASSERT_EQ(Tokens(page), Tokens(WithTabs(page))) << page;
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 20000);
}

TEST(TagNameLookup, SeveralAttributesAndOddEndsOfTheName) {
  const std::vector<std::string> pages = {
      "<td style=\"a\" width=50 nowrap border>x</td>",
      "<table border=0 cellpadding=2 cellspacing='3' bgcolor=#fff width=100%><tr><td>x",
      "<td  style=a>  <td style =a> <td style= a> <td style>x",
      "<td style=a>x</td ><td x style=b id=c></td x>",
      "<td width=5 width=6 style=s style=t>",
      "<th colspan=2 rowspan=3 align=center valign=top height=4>",
      "<td bordercolorlight=red bordercolordark=blue bordercolor=green>",
      "<td style=\"x\"\r\nwidth=3>",
      "<td style=\"x\">\r\n<td>",
      "<td STYLE=\"x\"><!-- c --><td>",
      "<style type=text/css>td{color:red}</style><td>",
      "<body text=red link=blue>x",
      "<td st\xc0le=1 style\xc0=2>",
      "<td style=\"\xcf\xf0\xe8\">",
  };
  for (const std::string& page : pages) EXPECT_EQ(Tokens(page), Tokens(WithTabs(page))) << page;
}

// Words and quoted values are searched for their end many characters at a
// time. Written with every letter as a numeric reference, the same text is
// read a character at a time, so both must come to the same end.
std::string AsReferences(const std::string& s) {
  std::string out;
  for (char c : s) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out += "&#" + std::to_string(static_cast<int>(c)) + ";";
    else out += c;
  }
  return out;
}

TEST(TagNameLookup, RunsEndAtTheSameStopWhateverTheirLength) {
  // The character left current differs (a reference is current where its
  // letter would be), so only the symbols are compared.
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789abcdefghij";
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      const std::string head = letters.substr(0, at);
      const std::string tail = letters.substr(at, length - at);
      const std::string headRefs = AsReferences(head);
      const std::string tailRefs = AsReferences(tail);
      for (const char* stop : {" ", "&amp;", "<b>", "\r\n", "\x01", "\t", "\xc0", "&", "<!--c-->"}) {
        for (const char* quote : {"\"", "'"}) {
          const auto pages = [&](const std::string& h, const std::string& t) {
            return std::vector<std::string>{
                "<td>" + h + stop + t + "<td>", "<td>" + h + stop + t,
                "<td style=" + std::string(quote) + h + stop + t + quote + " id=x>y",
                "<td style=" + std::string(quote) + h + quote + ">" + t + stop};
          };
          const std::vector<std::string> plain = pages(head, tail);
          const std::vector<std::string> referred = pages(headRefs, tailRefs);
          for (std::size_t k = 0; k < plain.size(); ++k) {
            EXPECT_EQ(Tokens(plain[k], false), Tokens(referred[k], false)) << plain[k];
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
