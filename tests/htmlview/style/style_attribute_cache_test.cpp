// A view keeps the style attributes it has parsed for the pages that follow.
// These tests check that what a kept attribute gives is what parsing it gives,
// on later pages too, and when more texts come than the cache keeps.

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "htmlview/style/style_attribute_cache.h"
#include "htmlview/style/style_sheet_parser.h"
#include "parse_support.h"
#include "style_attribute_corpus.h"

namespace talmeko::htmlview {
namespace {

using testing::LoadedView;

// What merging the text onto a new set gives, slot by slot.
std::vector<TPropValue> ParsedAlone(std::u16string_view text, TTextPool& pool, std::uint64_t& mask,
                                    std::uint64_t& valued) {
  TProperties set;
  MergeStyleAttribute(text, pool, set);
  mask = set.RuleFlags();
  valued = set.ValuedSlots() & mask;
  std::vector<TPropValue> values;
  for (std::uint64_t bits = mask; bits != 0; bits &= bits - 1) {
    values.push_back(set[static_cast<PropIndex>(std::countr_zero(bits))]);
  }
  return values;
}

std::string Describe(const TPropValue& v) {
  switch (v.Kind()) {
    case TValueKind::Empty: return "empty";
    case TValueKind::Text: return "text '" + std::string(v.Text()) + "'";
    case TValueKind::Int: return "int " + std::to_string(v.Int());
    case TValueKind::Real: return "real " + std::to_string(v.Real());
  }
  return "?";
}

TEST(StyleAttributeCache, KeptTextsGiveWhatParsingGives) {
  TStyleAttributeCache cache;
  TTextPool pool;
  // Twice over: the first round parses and keeps, the second finds.
  for (int round = 0; round < 2; ++round) {
    for (std::u16string_view text : testing::kStyleTexts) {
      std::uint64_t mask = 0;
      std::uint64_t valued = 0;
      const std::vector<TPropValue> expected = ParsedAlone(text, pool, mask, valued);
      const TStyleAttributeCache::TEntry* entry = cache.Get(text, TStyleAttributeCache::Hash(text));
      ASSERT_NE(entry, nullptr);
      ASSERT_EQ(entry->slotMask, mask) << "round " << round;
      ASSERT_EQ(entry->valuedMask, valued) << "round " << round;
      const TPropValue* values = cache.Values(*entry);
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Describe(values[i]), Describe(expected[i])) << "round " << round << " slot " << i;
      }
    }
  }
  EXPECT_EQ(cache.Size(), std::size(testing::kStyleTexts));
}

TEST(StyleAttributeCache, AFullCacheKeepsWhatItHasAndRefusesNewTexts) {
  TStyleAttributeCache cache;
  std::vector<std::u16string> texts;
  for (std::size_t i = 0; i <= TStyleAttributeCache::kMaxEntries; ++i) {
    std::string ascii = "width:" + std::to_string(i) + "px";
    texts.emplace_back(ascii.begin(), ascii.end());
  }
  for (std::size_t i = 0; i < TStyleAttributeCache::kMaxEntries; ++i) {
    ASSERT_NE(cache.Get(texts[i], TStyleAttributeCache::Hash(texts[i])), nullptr) << i;
  }
  EXPECT_TRUE(cache.Full());
  EXPECT_EQ(cache.Get(texts.back(), TStyleAttributeCache::Hash(texts.back())), nullptr);
  // Entries made before it filled are still found, with their values.
  const TStyleAttributeCache::TEntry* first = cache.Get(texts[0], TStyleAttributeCache::Hash(texts[0]));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.IndexOf(*first), 0u);
  EXPECT_EQ(cache.Values(*first)[0].Text(), "0px");
}

// A page of swatch cells, each with its own colour, so that every cell has
// a text of its own.
std::string SwatchPage(int from, int count, std::string_view sheet) {
  std::string page = "<html><head><style>" + std::string(sheet) + "</style></head><body><table>";
  for (int i = from; i < from + count; ++i) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "%06x", (static_cast<unsigned>(i) * 2654435761u) & 0xFFFFFF);
    page += "<tr><td style=\"background:#" + std::string(colour) + ";width:" + std::to_string(i % 7) +
            "px;font-family:Courier New\"></td><td style=\"font-size:" + std::to_string(8 + i % 5) + "pt\">" +
            std::to_string(i) + "</td>";
  }
  return page + "</table></body></html>";
}

// Pages shown one after the other in one view give what each gives in a view
// of its own: a later page may have other style rules and other texts, and
// the earlier page is gone (with the texts it parsed into its own pool).
TEST(StyleAttributeCache, LaterPagesInOneViewGiveWhatAFreshViewGives) {
  struct Page {
    int from, count;
    const char* sheet;
  } pages[] = {{0, 40, "td{color:red}"},
               {20, 40, "table{font-family:Arial} td{padding:2px}"},
               {0, 60, ""},
               {10, 10, "td{font-size:20pt} .x{color:blue}"}};
  LoadedView reused;
  for (const Page& p : pages) {
    const std::string page = SwatchPage(p.from, p.count, p.sheet);
    LoadedView fresh;
    fresh.Load(page);
    reused.Load(page);
    ASSERT_EQ(reused.Dump(), fresh.Dump()) << "page from " << p.from;
  }
}

// More distinct texts than one cache keeps: the first page fills it and
// parses the rest on the spot; the next page starts a cache of its own.
TEST(StyleAttributeCache, PagesWithMoreTextsThanTheCacheKeeps) {
  const int count = static_cast<int>(TStyleAttributeCache::kMaxEntries / 2) + 300;
  const std::string first = SwatchPage(0, count, "");
  const std::string second = SwatchPage(count / 2, 200, "td{color:green}");
  LoadedView view;
  view.Load(first);
  const std::string firstAlone = view.Dump();
  view.Load(second);
  ASSERT_EQ(view.Dump(), LoadedView().Load(second).Dump());
  LoadedView reused;
  reused.Load(first);
  ASSERT_EQ(reused.Dump(), firstAlone);
  reused.Load(first);
  ASSERT_EQ(reused.Dump(), firstAlone);
}

// Every character of a text counts in its hash: texts that differ in one
// place, at any place and for any length, hash apart, and texts that are
// one character longer than another's prefix do too.
TEST(StyleAttributeCache, EveryCharacterCountsInTheHash) {
  for (std::size_t length = 0; length <= 40; ++length) {
    std::u16string base(length, u'a');
    for (std::size_t i = 0; i < length; ++i) base[i] = static_cast<char16_t>(u'a' + i % 26);
    const std::uint64_t h = TStyleAttributeCache::Hash(base);
    for (std::size_t at = 0; at < length; ++at) {
      for (char16_t c : {u'#', u'A', u'\u0444'}) {
        std::u16string changed = base;
        changed[at] = c;
        EXPECT_NE(TStyleAttributeCache::Hash(changed), h) << "length " << length << " at " << at;
      }
    }
    EXPECT_NE(TStyleAttributeCache::Hash(base + u'a'), h) << "length " << length;
    EXPECT_NE(TStyleAttributeCache::Hash(base + u'\0'), h) << "length " << length;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
