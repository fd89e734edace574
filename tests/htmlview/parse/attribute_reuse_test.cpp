// The attribute list reuses the names its entries held for the tag before,
// and attribute numbers are answered at once for values that cannot start
// one. Both are held to the plain way on varied input.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "htmlview/parse/attributes.h"
#include "htmlview/parse/symbols.h"

namespace talmeko::htmlview {
namespace {

constexpr int kLastSymbol = static_cast<int>(TAttrSymbol::SpanSy);

// Everything a reader of the list can see: each entry, and what Find gives
// for every symbol.
std::string Describe(const TAttributeList& list) {
  std::string out;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const TAttribute& a = list[i];
    out += std::to_string(static_cast<int>(a.Which)) + ":" + a.Name + "=" + std::string(a.Value.begin(), a.Value.end()) +
           "#" + std::to_string(a.Numeric) + (a.HasValue ? "v" : "-") + " ";
  }
  out += "|";
  for (int w = 0; w <= kLastSymbol + 1; ++w) {
    const TAttribute* found = list.Find(static_cast<TAttrSymbol>(w));
    out += found ? std::to_string(found - &list[0]) : "n";
    out += ",";
  }
  return out;
}

TEST(AttributeListReuse, KnownEntriesReadAsEntriesWrittenInFull) {
  // Tags of random attributes, known and unknown, added every way the list
  // allows, with values and names changed between tags: the list that
  // reuses names must read exactly like one whose entries are written anew.
  std::mt19937 random(11);
  TAttributeList reusing;
  TAttributeList plain;
  for (int tag = 0; tag < 3000; ++tag) {
    reusing.Reset();
    plain.Reset();
    // Mostly short tags, some past the 64 entries whose names are kept.
    const int count = random() % 20 == 0 ? static_cast<int>(random() % 80) : static_cast<int>(random() % 5);
    for (int k = 0; k < count; ++k) {
      const auto which = static_cast<TAttrSymbol>(random() % 4 == 0 ? 0 : 1 + random() % kLastSymbol);
      const int way = static_cast<int>(random() % 6);
      TAttribute* r = nullptr;
      TAttribute& p = plain.Add(which);
      if (which != TAttrSymbol::OtherAttribute && way < 4) {
        r = &reusing.AddKnown(which);
        p.Name.assign(AttributeName(which));
      } else if (way == 4) {
        // The general way with a name that is not the symbol's.
        r = &reusing.Add();
        r->Which = which;
        r->Name = "X" + std::to_string(k);
        p.Name = r->Name;
      } else {
        r = &reusing.Add(which);
        r->Name = std::string(AttributeName(which)) + (way == 5 ? "Y" : "");
        p.Name = r->Name;
      }
      const std::u16string value = random() % 2 == 0 ? u"" : u"v" + std::u16string(random() % 3, u'1');
      r->Value = value;
      p.Value = value;
      r->HasValue = p.HasValue = !value.empty();
      r->Numeric = p.Numeric = static_cast<int>(value.size());
    }
    ASSERT_EQ(Describe(reusing), Describe(plain)) << "tag " << tag;
  }
}

TEST(AttributeListReuse, QuickNumbersMatchTheFullReading) {
  const std::vector<std::u16string> values = {
      u"",       u" ",      u"%",        u"*",       u"50",       u"50%",     u"2*",      u" 7",
      u"+7",     u"-2.6*",  u".5",       u"-.5",     u"a1",       u"#ffffff", u"1e3",     u"e3",
      u"  -3 ",  u"\u0661", u"x-y",      u"50px",    u"background:#f5f0ec;width:50px",    u"0x10",
      u"9999999999999", u"-", u"+", u".", u"\t5", u"5\t", u"1.5%", u"%5", u"\u00a05",
  };
  for (const std::u16string& v : values) {
    EXPECT_EQ(QuickAttributeNumber(v), AttributeNumber(v)) << std::string(v.begin(), v.end());
  }
  std::mt19937 random(3);
  const std::u16string alphabet = u" +-.%*0123456789aeE#x\u0410";
  for (int i = 0; i < 5000; ++i) {
    std::u16string v;
    for (int k = static_cast<int>(random() % 8); k > 0; --k) v += alphabet[random() % alphabet.size()];
    EXPECT_EQ(QuickAttributeNumber(v), AttributeNumber(v)) << std::string(v.begin(), v.end());
  }
}

TEST(ElementWordLookup, FindsExactlyTheNamesOfTheTable) {
  // Names of every length the tokenizer asks for, none included: a word of
  // folded bytes is found only for a name the table holds.
  std::vector<std::string> names = {"", "TD", "td", "Tr", "TABLE", "table", "COL", "COLGROUP", "TITLE", "H1",
                                    "B", "T", "TDX", "XTD", "STYLE", "SCRIPT", "CAPTION", "TBODY", "HTML"};
  std::mt19937 random(9);
  const std::string letters = "ABCDEHILMOPRSTYabcdehilmoprsty1_";
  for (int i = 0; i < 4000; ++i) {
    std::string name;
    for (int k = static_cast<int>(random() % 9); k > 0; --k) name += letters[random() % letters.size()];
    names.push_back(name);
  }
  for (const std::string& name : names) {
    std::uint64_t word = 0;
    for (std::size_t k = 0; k < name.size(); ++k) {
      word |= std::uint64_t{static_cast<unsigned char>(name[k]) & 0xDFu} << (8 * k);
    }
    const TElementSymbols expected = LookupElementNoCase(std::u16string(name.begin(), name.end()));
    TElementSymbols found;
    const bool any = FindElementFolded(word, name.size(), found);
    EXPECT_EQ(any, expected.start != Sy::CommandSy) << "'" << name << "'";
    if (any) {
      EXPECT_EQ(found.start, expected.start) << name;
      EXPECT_EQ(found.end, expected.end) << name;
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
