// Tags that are a name alone are read eight characters at a time, and the
// attribute list answers lookups from an index. Both are held here to the
// plain ways: the character-by-character tag reader and a scan of the list.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "htmlview/base/buffer.h"
#include "htmlview/base/exceptions.h"
#include "htmlview/base/text_util.h"
#include "htmlview/parse/attributes.h"
#include "htmlview/parse/html_parser.h"
#include "htmlview/parse/symbols.h"
#include "parse_support.h"
#include "platform/canvas.h"
#include "platform/cp1251.h"
#include "token_dump.h"

namespace talmeko::htmlview {
namespace {

// The symbols of the page with their attributes, text and the character
// left current after each.
std::string Tokens(const std::string& bytes) {
  return testing::DumpTokens(bytes, {.maxSymbols = 100, .numbers = false, .attributesOfText = true,
                                     .breakAsSpace = false});
}

// A "<" starts a tag before "/", a letter or "?"; otherwise it is text, and
// a break after it is text too.
bool StartsTag(const std::string& afterLessThan) {
  const char c = afterLessThan.empty() ? '\0' : afterLessThan[0];
  return c == '/' || c == '?' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

TEST(NameOnlyTags, ReadAsTheSameTagWithABreakBeforeItsEnd) {
  // A line break before the ">" sends a tag down the character-by-character
  // reader; without it, a tag that is a name alone is read in one step. Both
  // must give the same symbol, attributes and next character.
  const std::vector<std::string> names = {
      "td", "TD", "Td", "tr", "table", "TABLE", "tAbLe", "b", "i", "a", "p", "br", "h1", "H6", "h0", "h1x", "h12",
      "hx", "h", "style", "script", "caption", "colgroup", "noscript", "blockquote", "x", "x_y", "_x", "1a", "a1",
      "tbody", "thead", "tfoot", "th", "col", "title", "body", "html", "head", "abcdefg", "abcdefgh", "abcdefghi",
      "t\xc4", "\xc4t", "t-d", "t$d", "t:d", "t@d", "t[d", "t`d", "t{d", "t/d", "t?d", "?x", "!x", "%x"};
  // What follows the tag: text, another tag, markup to skip, a break, the end.
  const std::vector<std::string> afters = {"", "x", "<td>", "</td>", "<!-- c -->y", "<!x>z", "<%q%>w", "\r\nv",
                                           "\tu", "&amp;", "<", "<<", "longer words of text"};
  for (const std::string& name : names) {
    for (const char* slash : {"", "/"}) {
      if (!StartsTag(slash + name)) continue;
      for (const std::string& after : afters) {
        for (const char* before : {"", "a", "<p>"}) {
          const std::string straight = std::string(before) + "<" + slash + name + ">" + after;
          const std::string broken = std::string(before) + "<" + slash + name + "\r\n>" + after;
          EXPECT_EQ(Tokens(straight), Tokens(broken)) << straight;
        }
      }
    }
  }
}

TEST(NameOnlyTags, CharactersPastLatin1NeverMatchALetter) {
  // UTF-8 pages: characters whose low byte is a letter of a known name,
  // full-width letters and Latin-1 letters, in and around known names.
  const std::string bom = "\xEF\xBB\xBF";
  const std::vector<std::string> names = {
      "t\xC5\x84",          // U+0144, low byte "D"
      "\xC5\xB4" "d",      // U+0174, low byte "T"
      "\xEF\xBD\x94" "d",  // full-width t
      "t\xEF\xBD\x84",      // full-width d
      "t\xC3\x84",          // Latin-1 A with diaeresis
      "tabl\xC3\xA5",       // Latin-1 a with ring
      "t\x7F",               // folds onto "_"
      "t@", "t`", "t[", "t{", "t^", "td", "Td", "tD"};
  for (const std::string& name : names) {
    for (const char* slash : {"", "/"}) {
      if (!StartsTag(slash + name)) continue;
      for (const char* after : {"", "x", "<td>"}) {
        const std::string straight = bom + "<" + slash + name + ">" + after;
        const std::string broken = bom + "<" + slash + name + "\r\n>" + after;
        EXPECT_EQ(Tokens(straight), Tokens(broken)) << straight;
      }
    }
  }
  // Known names in letters of either case are those elements.
  const auto number = [](Sy sy) { return std::to_string(static_cast<int>(sy)); };
  EXPECT_EQ(Tokens("<tAbLe><TD></Td>"), number(Sy::TableSy) + "|< " + number(Sy::TDSy) + "|< " +
                                            number(Sy::TDEndSy) + "|" + std::string(1, '\0') + " " +
                                            number(Sy::EofSy));
}

TEST(NameOnlyTags, RandomNamesNearTheEndOfTheText) {
  // Names of random characters, cut off so that the text ends at every
  // place in and after the tag.
  const std::string alphabet = "abhHtdTD019_-$>/ <\xc4\r";
  std::mt19937 random(3);
  for (int i = 0; i < 2000; ++i) {
    std::string name;
    const int length = 1 + static_cast<int>(random() % 11);
    for (int k = 0; k < length; ++k) name += alphabet[random() % alphabet.size()];
    const std::string tail = random() % 2 ? "" : "x";
    const std::string straight = std::string(random() % 2 ? "</" : "<") + name + ">" + tail;
    // A break before the first ">" sends the tag through the general reader.
    std::string spaced = straight;
    spaced.insert(spaced.find('>') == std::string::npos ? spaced.size() : spaced.find('>'), "\r\n");
    if (straight.find_first_of(" \r<>", 1) != straight.find('>') || !StartsTag(straight.substr(1))) continue;
    EXPECT_EQ(Tokens(straight), Tokens(spaced)) << straight;
  }
}

// The first entry with the symbol, found by looking at every entry.
const TAttribute* ScanFor(const TAttributeList& list, TAttrSymbol which) {
  for (std::size_t i = 0; i < list.Count(); ++i) {
    if (list[i].Which == which) return &list[i];
  }
  return nullptr;
}

TEST(AttributeIndex, FindMatchesAScanOfTheList) {
  constexpr int kSymbols = static_cast<int>(TAttrSymbol::SpanSy) + 1;
  std::mt19937 random(17);
  TAttributeList list;
  for (int round = 0; round < 300; ++round) {
    list.Reset();
    // Mostly short lists with repeated symbols; now and then one longer
    // than the index covers.
    const std::size_t count = round % 50 == 49 ? 300 + random() % 20 : random() % 8;
    for (std::size_t k = 0; k < count; ++k) {
      TAttribute& a = list.Add();
      a.Which = static_cast<TAttrSymbol>(random() % kSymbols);
      a.Value = std::u16string(1, static_cast<char16_t>(u'a' + k % 26));
      // Looking up between additions must not hide what is added later.
      if (random() % 4 == 0) {
        const auto probe = static_cast<TAttrSymbol>(random() % kSymbols);
        EXPECT_EQ(list.Find(probe), ScanFor(list, probe));
      }
    }
    if (count >= 300) list.Add().Which = TAttrSymbol::NoWrapSy;
    for (int s = 0; s < kSymbols; ++s) {
      const auto which = static_cast<TAttrSymbol>(s);
      EXPECT_EQ(list.Find(which), ScanFor(list, which)) << round << " " << s;
      EXPECT_EQ(list.ValueOf(which), ScanFor(list, which) ? std::u16string_view(ScanFor(list, which)->Value)
                                                          : std::u16string_view());
    }
  }
}

TEST(AttributeIndex, TagsReadGiveTheFirstOfEachAttribute) {
  const std::vector<std::string> pages = {
      "<td style=a width=1 style=b WIDTH=2 nowrap>",
      "<td\r\nstyle=a\r\nwidth=1\r\nstyle=b>",
      "<td>",
      "<td x=1 y=2 z=3 bgcolor=red colspan=2 rowspan=3 valign=top align=left height=4>",
      "<table border cellpadding=3><tr><td style='q'>",
  };
  for (const std::string& page : pages) {
    testing::PageTokenizer tokenizer(page);
    THtmlParser& p = *tokenizer.parser;
    p.GetCh();
    for (p.Next(); p.Symbol() != Sy::EofSy; p.Next()) {
      for (int s = 0; s <= static_cast<int>(TAttrSymbol::SpanSy); ++s) {
        const auto which = static_cast<TAttrSymbol>(s);
        EXPECT_EQ(p.Attributes().Find(which), ScanFor(p.Attributes(), which)) << page << " " << s;
      }
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
