// The tokenizer reads plain tags, words and Windows-1251 pages through fast
// paths beside the character-by-character steps. These tests hold the fast
// paths to the plain ones on varied input: the same page read both ways must
// give the same symbols, attributes and text.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <algorithm>

#include "htmlview/base/buffer.h"
#include "htmlview/base/exceptions.h"
#include "htmlview/base/text_util.h"
#include "htmlview/parse/html_parser.h"
#include "htmlview/parse/symbols.h"
#include "parse_support.h"
#include "platform/canvas.h"
#include "platform/cp1251.h"
#include "token_dump.h"

namespace talmeko::htmlview {
namespace {

// Every symbol of the page as one word: the symbol's number, the attributes
// with their names, values and numbers, and text as written.
std::string TokenStream(const std::string& bytes) {
  // A break and a space read alike, and a page with breaks for spaces
  // leaves one or the other current.
  return testing::DumpTokens(bytes, {.maxSymbols = 200});
}

// Tags and words of many shapes, each space in them a place to vary.
const std::vector<std::string>& Pages() {
  static const std::vector<std::string> pages = {
      "<table><tr><td style=\"background:#f5f0ec;width:50px\"></td><td>3866</td></table>",
      "<td style='a b' width = 50% colspan=2 align=left nowrap>x y</td>",
      "<TD Style=\"x\"  WIDTH=-2.6* x-y=+7 $d=1 9=9 bordercolorlight=red>",
      "<table border cellpadding=3 cellspacing = '4' bgcolor=#ffffff background=a.png>",
      "<h1 align=center>head</h1><h2x>t</h2x><h>no</h>",
      "</td ><?xml version=1?><a href=x>y</a> <b >z</b>",
      "<unknownelementname someveryverylongattributename=1 id=A class='B C'>",
      "<td title=\"a b\" alt='c d' value=\"q'q\" other='w\"w'>",
      "<td a= b c =d e = f>",
      "<td a=\"unterminated",
      "<td a=b",
      "<td 'x' \"y\" a=1>",
      "<style> td{color:red}</style>",
      "<td a=x<b>c</td> <td a=\"x<y\">",
      "a b  c<tr>d e</tr> <col span=2><colgroup><thead><tbody><tfoot><caption><title>",
      "<td a=\"\u00c0\u00ff\" b=\xc0\xff>\xcf\xcd\xca \xe8\xec</td>",
      "<_x> <1a> </_y> </ x> <td/> <td /> <td a=>",
      "<html><head><body text=red link=blue vlink=x alink=y leftmargin=1 topmargin=2 marginwidth=3 "
      "marginheight=4>",
      "<td hspace=1 vspace=2 rowspan=3 src=a name=b span=c height=4 valign=top bordercolordark=d>",
  };
  return pages;
}

TEST(TokenizerFastPaths, ATabReadsAsTheSpaceItReplaces) {
  // A tab is read as a space, but only the character-by-character steps read
  // it: a tag with one tab in place of a space goes the long way and must
  // come out as the same tag read straight.
  for (const std::string& page : Pages()) {
    const std::string plain = TokenStream(page);
    for (std::size_t i = 0; i < page.size(); ++i) {
      if (page[i] != ' ') continue;
      std::string varied = page;
      varied[i] = '\t';
      EXPECT_EQ(TokenStream(varied), plain) << page << " with a tab at " << i;
    }
  }
}

TEST(TokenizerFastPaths, LineBreaksAndSkippedMarkupInValues) {
  // In a quoted value a line break is dropped and a comment vanishes, at any
  // position; an entity stands for its character.
  const std::string before = "<td class=x style=\"";
  const std::string value = "background:#f5f0ec;width:50px";
  const std::string after = "\" width=7>t</td>";
  const std::string plain = TokenStream(before + value + after);
  for (std::size_t i = 0; i <= value.size(); ++i) {
    const std::string head = before + value.substr(0, i);
    const std::string tail = value.substr(i) + after;
    for (const char* inserted : {"\r\n", "\n", "\r", "<!-- <td> -->", "<!x>", "<% y %>"}) {
      EXPECT_EQ(TokenStream(head + inserted + tail), plain) << i << " " << inserted;
    }
    std::string withLessThan = value;
    withLessThan.insert(i, "<");
    EXPECT_EQ(TokenStream(head + "&lt;" + tail), TokenStream(before + withLessThan + after)) << i;
    EXPECT_EQ(TokenStream(head + "&#60;" + tail), TokenStream(before + withLessThan + after)) << i;
  }
}

TEST(TokenizerFastPaths, BreaksBetweenAttributesAndInWords) {
  // Between attributes and in text a line break reads as a space.
  for (const std::string& page : Pages()) {
    const std::string plain = TokenStream(page);
    for (std::size_t i = 0; i < page.size(); ++i) {
      if (page[i] != ' ') continue;
      // A break inside a quoted value is dropped, not read as a space.
      const std::size_t quotes = std::count(page.begin(), page.begin() + static_cast<long>(i), '"') +
                                 std::count(page.begin(), page.begin() + static_cast<long>(i), '\'');
      if (quotes % 2 != 0 || page.find_first_of("\"'") < i) continue;
      for (const char* brk : {"\r\n", "\n\r", "\r", "\n"}) {
        std::string varied = page;
        varied.replace(i, 1, brk);
        EXPECT_EQ(TokenStream(varied), plain) << page << " with a break at " << i;
      }
    }
  }
}

TEST(TokenizerFastPaths, RandomTagSoupReadsAlikeWithTabsForSpaces) {
  // Pages pieced together from fragments that end tags and values at odd
  // places, cut at random lengths so that the end of the text falls anywhere.
  const std::vector<std::string> pieces = {
      "<", ">", "</", "td", "TABLE", "tr", "h3", "style", "script", " ", "  ", "=", "\"", "'", "a", "x-y",
      "bordercolorlight", "width", "50%", "&amp;", "&", "&#65;", "<!--", "-->", "<!x>", "<%", "%>", "\r\n",
      "\xcf\xf0", "12", "?", "/", "_", "\x01", "abcdefghijklmnopqrstuvwxyz"};
  std::mt19937 random(5);
  for (int page = 0; page < 400; ++page) {
    std::string text;
    const int count = static_cast<int>(random() % 30);
    for (int k = 0; k < count; ++k) text += pieces[random() % pieces.size()];
    std::string tabs = text;
    std::replace(tabs.begin(), tabs.end(), ' ', '\t');
    EXPECT_EQ(TokenStream(tabs), TokenStream(text)) << text;
  }
}

TEST(TokenizerFastPaths, OpenCommentAtTheEndAfterAPlainTag) {
  // The error comes once the tag before the comment has been delivered.
  const std::string error = std::string(1, '\0') + " error: Open Comment at End of HTML File";
  EXPECT_EQ(TokenStream("<td a=1><!-- open"), "17[0 A=1#1]|" + error);
  EXPECT_EQ(TokenStream("word<!-- open"), "0'word'|" + error);
}

TEST(ElementAndAttributeLookup, NamesAsWrittenMatchTheirUpperCase) {
  std::vector<std::string> names = {"HTML", "HEAD", "STYLE", "SCRIPT", "BODY", "TABLE", "TR", "TD", "TH",
                                    "CAPTION", "COL", "COLGROUP", "THEAD", "TBODY", "TFOOT", "TITLE", "STYLE",
                                    "CLASS", "ID", "ALT", "ALIGN", "VALIGN", "WIDTH", "HEIGHT", "BORDER",
                                    "CELLPADDING", "CELLSPACING", "BGCOLOR", "BACKGROUND", "COLSPAN", "ROWSPAN",
                                    "NOWRAP", "TEXT", "LINK", "VLINK", "ALINK", "MARGINWIDTH", "MARGINHEIGHT",
                                    "LEFTMARGIN", "TOPMARGIN", "HSPACE", "VSPACE", "BORDERCOLOR",
                                    "BORDERCOLORLIGHT", "BORDERCOLORDARK", "SRC", "HREF", "NAME", "SPAN"};
  const std::size_t known = names.size();
  // Near misses: one character more, less or changed, and characters that
  // fold onto letters or spaces when bit 5 is cleared.
  for (std::size_t i = 0; i < known; ++i) {
    const std::string n = names[i];
    names.push_back(n + "S");
    names.push_back(n.substr(1));
    names.push_back(n.substr(0, n.size() - 1));
    names.push_back(n + " ");
    names.push_back(n + std::string(1, '\0'));
    std::string changed = n;
    changed[0] = static_cast<char>(changed[0] + 1);
    names.push_back(changed);
  }
  for (const char* odd : {"", "T{", "T[", "T\x04", "\x14\x04", "TD\x80", "H1", "1", "_", "$D", "-",
                          "ABCDEFGHIJKLMNOPQ", "X"}) {
    names.emplace_back(odd);
  }
  std::mt19937 random(7);
  for (const std::string& name : names) {
    for (int variant = 0; variant < 4; ++variant) {
      std::u16string written;
      for (char c : name) {
        char16_t w = static_cast<unsigned char>(c);
        if (variant > 0 && c >= 'A' && c <= 'Z' && (variant == 1 || random() % 2)) w = ToLowerAscii(w);
        written += w;
      }
      std::string upper;
      for (char16_t w : written) upper += static_cast<char>(ToUpperAscii(w));
      const TElementSymbols e = LookupElementNoCase(written);
      const TElementSymbols expected = LookupElement(upper);
      EXPECT_EQ(e.start, expected.start) << upper;
      EXPECT_EQ(e.end, expected.end) << upper;
      EXPECT_EQ(LookupAttributeNoCase(written), LookupAttribute(upper)) << upper;
      // The words the tokenizer folds names into, for names of its characters.
      const bool nameChars = std::all_of(upper.begin(), upper.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '-';
      });
      if (nameChars && !upper.empty() && upper.size() <= kMaxAttributeNameLength) {
        std::uint64_t words[2] = {0, 0};
        for (std::size_t k = 0; k < written.size(); ++k) {
          words[k / 8] |= std::uint64_t{static_cast<unsigned>(written[k] & 0xDF)} << (8 * (k % 8));
        }
        if (upper.size() <= kMaxElementNameLength) {
          EXPECT_EQ(LookupElementFolded(words[0], upper.size()).start, expected.start) << upper;
          EXPECT_EQ(LookupElementFolded(words[0], upper.size()).end, expected.end) << upper;
        }
        EXPECT_EQ(LookupAttributeFolded(words[0], words[1], upper.size()), LookupAttribute(upper)) << upper;
      }
      if (LookupAttribute(upper) != TAttrSymbol::OtherAttribute) {
        EXPECT_EQ(AttributeName(LookupAttribute(upper)), upper);
      }
    }
  }
  // Characters past Latin-1 never match, even those whose low byte would.
  EXPECT_EQ(LookupElementNoCase(u"T\u0144").start, Sy::CommandSy);
  EXPECT_EQ(LookupAttributeNoCase(u"I\u0144"), TAttrSymbol::OtherAttribute);
  EXPECT_EQ(LookupElementNoCase(u"tD").start, Sy::TDSy);
  EXPECT_EQ(AttributeName(TAttrSymbol::OtherAttribute), "");
}

TEST(Cp1251Decoding, EveryByteAndMixedRunsMatchTheTable) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string decoded = platform::DecodeCp1251(all);
  ASSERT_EQ(decoded.size(), 256u);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(decoded[static_cast<std::size_t>(b)], platform::Cp1251ToUnicode(static_cast<unsigned char>(b))) << b;
  }
  // Runs of every length with high bytes at every place, and random pages,
  // decoded alone and through a buffer.
  std::mt19937 random(11);
  std::vector<std::string> inputs;
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      std::string s(length, 'a');
      if (at < length) s[at] = static_cast<char>(0x80 + (at * 7 + length) % 128);
      inputs.push_back(s);
    }
  }
  for (int i = 0; i < 200; ++i) {
    std::string s(random() % 300, ' ');
    for (char& c : s) c = static_cast<char>(random() % 8 == 0 ? 0x80 + random() % 128 : 0x20 + random() % 95);
    inputs.push_back(s);
  }
  for (const std::string& s : inputs) {
    std::u16string expected;
    for (char c : s) expected += platform::Cp1251ToUnicode(static_cast<unsigned char>(c));
    EXPECT_EQ(platform::DecodeCp1251(s), expected);
    std::u16string into(s.size() + 1, u'#');
    platform::DecodeCp1251To(s, into.data());
    EXPECT_EQ(into, expected + u'#') << "wrote past the end";
    const TBuffer buffer(s, "", platform::kDefaultCharset);
    EXPECT_EQ(buffer.Text(), expected);
  }
}

}  // namespace
}  // namespace talmeko::htmlview
