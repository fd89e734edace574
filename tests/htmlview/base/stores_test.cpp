#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <stdexcept>
#include <vector>

#include "htmlview/base/block_store.h"
#include "htmlview/base/inline_vector.h"
#include "htmlview/base/small_vector.h"
#include "htmlview/parse/section.h"
#include "htmlview/parse/section_base.h"
#include "tracked_element.h"

namespace talmeko::htmlview {
namespace {

struct Counted {
  explicit Counted(int& live, int v) : live_(live), value(v) { ++live_; }
  ~Counted() { --live_; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
  int& live_;
  int value;
};

TEST(BlockStoreTest, ObjectsStayInPlaceAndAllGoWithTheStore) {
  int live = 0;
  {
    TBlockStore<Counted> store;
    std::vector<Counted*> made;
    // Enough to fill several blocks.
    for (int i = 0; i < 300; ++i) made.push_back(&store.Emplace(live, i));
    EXPECT_EQ(live, 300);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(made[static_cast<std::size_t>(i)]->value, i);
  }
  EXPECT_EQ(live, 0);
}

struct Throwing {
  explicit Throwing(bool fail) {
    if (fail) throw std::runtime_error("no");
  }
};

TEST(BlockStoreTest, AFailedConstructionLeavesNothingToDestroy) {
  TBlockStore<Throwing> store;
  store.Emplace(false);
  EXPECT_THROW(store.Emplace(true), std::runtime_error);
  store.Emplace(false);  // takes the place the failed one did not
}

TEST(CellBasicTest, OwnedAndKeptItemsDoNotMix) {
  TSection kept(TTextAlign::Left, 0);
  TCellBasic owning;
  owning.Add(std::make_unique<TSection>(TTextAlign::Left, 0));
  EXPECT_THROW(owning.Keep(kept), std::logic_error);
  EXPECT_EQ(owning.Count(), 1u);

  TCellBasic keeping;
  keeping.Keep(kept);
  keeping.Keep(kept);
  EXPECT_THROW(keeping.Add(std::make_unique<TSection>(TTextAlign::Left, 0)), std::logic_error);
  EXPECT_EQ(keeping.Count(), 2u);
  EXPECT_EQ(&keeping[0], &kept);

  // Emptied, a list may take the other kind.
  keeping.Clear();
  keeping.Add(std::make_unique<TSection>(TTextAlign::Right, 0));
  EXPECT_EQ(keeping.Count(), 1u);
}

TEST(CellBasicTest, MovingKeepsTheItemsAndTheirOwnership) {
  TCellBasic from;
  for (int i = 0; i < 3; ++i) from.Add(std::make_unique<TSection>(TTextAlign::Center, i));
  TCellBasic to;
  TSection kept(TTextAlign::Left, 0);
  to.Keep(kept);
  to = std::move(from);
  ASSERT_EQ(to.Count(), 3u);
  EXPECT_EQ(static_cast<const TSection&>(to[2]).TextIndent(), 2);
  EXPECT_TRUE(from.Empty());
  // Still owned: adding another owned item is allowed, a kept one is not.
  to.Add(std::make_unique<TSection>(TTextAlign::Left, 0));
  EXPECT_THROW(to.Keep(kept), std::logic_error);
}

TEST(SmallVectorTest, AssignResizeAndAtAcrossTheInlinePlaces) {
  struct Case {
    std::size_t count;
  };
  for (const Case c : {Case{0}, Case{1}, Case{2}, Case{3}, Case{9}}) {
    TSmallVector<int, 2> v;
    v.assign(c.count, 7);
    ASSERT_EQ(v.size(), c.count);
    for (int x : v) EXPECT_EQ(x, 7);
    v.resize(c.count + 3, 1);
    ASSERT_EQ(v.size(), c.count + 3);
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v.at(i), i < c.count ? 7 : 1);
    EXPECT_THROW(v.at(v.size()), std::out_of_range);
    v.resize(1);
    EXPECT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0], c.count > 0 ? 7 : 1);
  }
}


using testing::Tracked;

std::vector<std::string> Values(const TInlineVector<Tracked, 2>& v) {
  std::vector<std::string> out;
  for (const Tracked& t : v) out.push_back(t.value);
  return out;
}

TEST(InlineVectorTest, GrowsOutOfPlaceAndMovesInEitherState) {
  for (std::size_t count : {0u, 1u, 2u, 3u, 7u}) {
    int live = 0;
    {
      TInlineVector<Tracked, 2> v;
      std::vector<std::string> expected;
      for (std::size_t i = 0; i < count; ++i) {
        // Long texts: a moved-from element must not keep them.
        expected.push_back(std::string(40, static_cast<char>('a' + i)));
        v.emplace_back(&live, expected.back());
      }
      EXPECT_EQ(Values(v), expected);
      EXPECT_EQ(live, static_cast<int>(count));

      TInlineVector<Tracked, 2> moved(std::move(v));
      EXPECT_EQ(Values(moved), expected);
      EXPECT_TRUE(v.empty());
      EXPECT_EQ(live, static_cast<int>(count));

      TInlineVector<Tracked, 2> target;
      target.emplace_back(&live, "dropped");
      target = std::move(moved);
      EXPECT_EQ(Values(target), expected);
      EXPECT_EQ(live, static_cast<int>(count));

      target.reserve(20);
      EXPECT_EQ(Values(target), expected);
    }
    EXPECT_EQ(live, 0) << count;
  }
}

TEST(InlineVectorTest, AnElementCopiedFromItselfSurvivesTheGrowth) {
  int live = 0;
  TInlineVector<Tracked, 2> v;
  v.emplace_back(&live, std::string(30, 'x'));
  v.emplace_back(&live, std::string(30, 'y'));
  // The argument refers to an element that the growth moves.
  v.emplace_back(&live, v[0].value);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[2].value, std::string(30, 'x'));
  EXPECT_EQ(v.at(0).value, std::string(30, 'x'));
  EXPECT_THROW(v.at(3), std::out_of_range);
}

}  // namespace
}  // namespace talmeko::htmlview
