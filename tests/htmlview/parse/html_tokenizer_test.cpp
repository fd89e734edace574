#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmlview/base/text_util.h"
#include "htmlview/parse/html_parser.h"
#include "parse_support.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {
namespace {

// Runs the tokenizer over the bytes and writes one word per symbol:
// text as 'chars', tags by name ("<TD>", "</TD>", "<?>" for unknown ones)
// with their attributes as NAME=value#numeric.
class Tokens {
 public:
  explicit Tokens(std::string bytes)
      : catalogue_(), fonts_(catalogue_, 96), buffer_(std::move(bytes), "", platform::kDefaultCharset) {
    doc_.Styles.Initialize(defaults_, true, *doc_.Pool, 96);
  }

  std::string Run(int limit = 100) {
    THtmlParser p(buffer_, doc_, defaults_, fonts_);
    std::string out;
    p.GetCh();
    for (int i = 0; i < limit; ++i) {
      p.Next();
      if (p.Symbol() == Sy::EofSy) break;
      if (!out.empty()) out += ' ';
      out += Word(p);
    }
    return out;
  }

 private:
  static std::string Word(const THtmlParser& p) {
    if (p.Symbol() == Sy::TextSy) return "'" + platform::Utf16ToUtf8(p.Token()) + "'";
    std::string w;
    switch (p.Symbol()) {
      case Sy::TableSy: w = "<TABLE"; break;
      case Sy::TableEndSy: w = "</TABLE"; break;
      case Sy::TRSy: w = "<TR"; break;
      case Sy::TREndSy: w = "</TR"; break;
      case Sy::TDSy: w = "<TD"; break;
      case Sy::TDEndSy: w = "</TD"; break;
      case Sy::StyleSy: w = "<STYLE"; break;
      case Sy::HtmlSy: w = "<HTML"; break;
      case Sy::ColSy: w = "<COL"; break;
      default: w = "<?"; break;
    }
    const TAttributeList& a = p.Attributes();
    for (std::size_t i = 0; i < a.Count(); ++i) {
      w += " " + a[i].Name;
      if (a[i].HasValue) w += "=" + platform::Utf16ToUtf8(a[i].Value);
      w += "#" + std::to_string(a[i].Numeric);
    }
    return w + ">";
  }

  testing::FakeFontCatalogue catalogue_;
  TFontResolver fonts_;
  ViewDefaults defaults_;
  TBuffer buffer_;
  ThtDocument doc_;
};

TEST(Tokenizer, SymbolsAttributesAndText) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"<table><tr><td>310</td></table>", "<TABLE> <TR> <TD> '310' </TD> </TABLE>"},
      {"<TaBle>", "<TABLE>"},
      {"<td style=\"background:#ff8800;width:50px\">", "<TD STYLE=background:#ff8800;width:50px#0>"},
      {"<td style=\"background:;width:50px\"></td>", "<TD STYLE=background:;width:50px#0> </TD>"},
      {"<td width=50% colspan='2' align=left>", "<TD WIDTH=50%#50 COLSPAN=2#2 ALIGN=left#0>"},
      {"<td width=-2.6* x-y=+7>", "<TD WIDTH=-2.6*#-3 X-Y=+7#7>"},
      {"<table border>", "<TABLE BORDER#1>"},
      {"<td title=\"a\r\nb\" style=\"c\r\nd\">", "<TD TITLE=a\r\nb#0 STYLE=cd#0>"},
      {"<td title=\"unclosed", "<TD TITLE=unclosed#0>"},
      {"<blink a=1>x</blink>", "<? A=1#1> 'x' <?>"},
      {"</col>", "<?>"},  // an element without an end symbol
      {"<h1>x", "<?> 'x'"},
      {"a < b <3 <", "'a ' '<' ' b ' '<' '3 ' '<'"},
      {"a \r\n\t b\f\fc", "'a b c'"},
      {"x\x01y", "'x' '?' 'y'"},
      {"a<!-- c -- >b", "'ab'"},  // comments vanish from the token stream
      {"a<!-- <td> --->b<!---->c", "'abc'"},
      {"a<!DOCTYPE html>b<%= x %>c", "'abc'"},
      {"a<!-x>b", "'ab'"},
      // The style start tag leaves its ">" current for the style-sheet reader.
      {"<style>td{color:red}</style>", "<STYLE> '>td{color:red}' <?>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Tokens(c.in).Run(), c.out) << c.in;
  }
}

TEST(Tokenizer, EntityReferences) {
  struct Case {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"&amp;&lt;&gt;&quot;&apos;", u"&<>\"'"},
      {"&nbsp;x", u"\u00A0x"},
      {"&#1055;&#x41d;&#X41A;", u"ПНК"},
      {"&copy&eacute;", u"©é"},
      {"&unknown; &#; &#x; &", u"&unknown; &#; &#x; &"},
      {"&#128512;", u"\U0001F600"},
      {"&#0;&#xD800;&#99999999999;", u"\uFFFD\uFFFD\uFFFD"},
      {"&verylongentityname;", u"&verylongentityname;"},
      {"&euro;&hearts;&thetasym;", u"€♥ϑ"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Tokens(c.in).Run(), "'" + platform::Utf16ToUtf8(c.out) + "'") << c.in;
  }
}

TEST(Tokenizer, DecodingAndByteOrderMarks) {
  struct Case {
    const char* name;
    std::string in;
    std::u16string text;
  } cases[] = {
      {"Windows-1251", "\xcf\xcd\xca \xe8\xec. \xca\xe8\xf0\xee\xe2\xe0", u"ПНК им. Кирова"},
      {"UTF-8 mark", "\xef\xbb\xbf\xd0\x9f\xd0\x9d\xd0\x9a", u"ПНК"},
      {"UTF-16 LE mark", std::string("\xff\xfe\x1f\x04\x1d\x04", 6), u"ПН"},
      {"UTF-16 BE mark", std::string("\xfe\xff\x04\x1f\x04\x1d", 6), u"ПН"},
      {"byte 0 ends the text", std::string("ab\0cd", 5), u"ab"},
      {"ISO-2022-JP", "\x1b$B$3$s\x1b(B!", u"こん!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Tokens(c.in).Run(), "'" + platform::Utf16ToUtf8(c.text) + "'") << c.name;
  }
}

TEST(Tokenizer, QuirksDecision) {
  struct Case {
    std::string in;
    bool quirks;
  } cases[] = {
      {"<html><head>", true},
      {"", true},
      {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html>", false},
      {"<!doctype html public \"-//W3C//DTD XHTML 1.0 Strict//EN\">", false},
      {"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML Basic 1.1//EN\">", false},
      {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">", true},
      {"<!DOCTYPE html>", true},
      {"<html><!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", true},
      {"<!-- x --><!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">", false},
  };
  for (const Case& c : cases) {
    TBuffer buffer(c.in, "", platform::kDefaultCharset);
    buffer.SetPosition(1);
    EXPECT_EQ(IsQuirksDocument(buffer), c.quirks) << c.in;
    EXPECT_EQ(buffer.Position(), c.in.empty() ? 0u : 1u);
  }
}

}  // namespace
}  // namespace talmeko::htmlview
