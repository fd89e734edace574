#include "htmlview/view/view_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "support/fake_canvas.h"
#include "view_test_doubles.h"

namespace talmeko::htmlview {
namespace {

using testing::FakeViewDocument;

// A 400 x 300 control with 17-pixel bars: full width 400, narrow width 383.
constexpr platform::Size kControl{400, 300};

struct LayoutFixture : ::testing::Test {
  ViewDefaults defaults;
  platform::ScreenInfo screen;
  TLayoutTally tally;
  talmeko::testing::FakeCanvas canvas;
  FakeViewDocument document;

  TViewLayoutResult Run() { return TViewLayout(defaults, screen, tally).Run(document, canvas, kControl); }
  void SetTally(int value) {
    while (tally.Value() < value) tally.Record(true);
    while (tally.Value() > value) tally.Record(false);
  }
};

struct WidthCase {
  const char* name;
  int tally;
  int narrowHeight;  // document height at 383
  int fullHeight;    // document height at 400
  std::vector<int> widths;
  bool verticalBar;
};

void PrintTo(const WidthCase& c, std::ostream* os) { *os << c.name; }

class LayoutWidthChoice : public LayoutFixture, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(LayoutWidthChoice, TriesWidthsInTallyOrderAndEndsAtTheRightOne) {
  const WidthCase& c = GetParam();
  SetTally(c.tally);
  document.heightForWidth = [&c](int w) { return w == 383 ? c.narrowHeight : c.fullHeight; };
  const TViewLayoutResult r = Run();
  EXPECT_EQ(document.layoutWidths, c.widths);
  EXPECT_EQ(r.layoutWidth, c.widths.back());
  EXPECT_EQ(r.vertical.visible, c.verticalBar);
  EXPECT_EQ(tally.Value(), c.tally + (c.verticalBar ? 1 : -1));
}

INSTANTIATE_TEST_SUITE_P(
    ViewLayout, LayoutWidthChoice,
    ::testing::Values(
        WidthCase{"NarrowFirstVeryTallKeepsFirstLayout", 0, 601, 590, {383}, true},
        WidthCase{"NarrowFirstTallButNotTwiceTriesFull", 0, 600, 590, {383, 400, 383}, true},
        WidthCase{"NarrowFirstFitsAtFullWidth", 2, 200, 190, {383, 400}, false},
        WidthCase{"NarrowFirstNeedsBarOnlyAtFullWidthEndsNarrow", 0, 290, 310, {383, 400, 383}, false},
        WidthCase{"FullFirstFits", -1, 200, 300, {400}, false},
        WidthCase{"FullFirstTallLaysOutNarrow", -1, 700, 650, {400, 383}, true},
        WidthCase{"FullFirstNeedsBarOnlyAtFullWidthEndsFull", -3, 290, 310, {400, 383, 400}, true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LayoutFixture, ShowVScrollAlwaysLaysOutNarrowAndLeavesTheTallyAlone) {
  defaults.HtOptions |= htShowVScroll;
  const TViewLayoutResult r = Run();
  EXPECT_EQ(document.layoutWidths, std::vector<int>{383});
  EXPECT_TRUE(r.vertical.visible);
  EXPECT_FALSE(r.vertical.enabled);
  EXPECT_EQ(tally.Value(), 0);
}

TEST_F(LayoutFixture, WithoutVerticalBarsOnlyTheFullWidthIsUsed) {
  for (TScrollStyle style : {TScrollStyle::ssNone, TScrollStyle::ssHorizontal}) {
    defaults.ScrollBars = style;
    document.layoutWidths.clear();
    document.heightForWidth = [](int) { return 5000; };
    const TViewLayoutResult r = Run();
    EXPECT_EQ(document.layoutWidths, std::vector<int>{400});
    EXPECT_FALSE(r.vertical.visible);
  }
}

TEST_F(LayoutFixture, EmptyDocumentShowsNoBarsAndDoesNotCount) {
  document.content = false;
  document.heightForWidth = [](int) { return 10; };
  const TViewLayoutResult r = Run();
  EXPECT_FALSE(r.vertical.visible);
  EXPECT_FALSE(r.horizontal.visible);
  EXPECT_EQ(r.drawingArea, kControl);
  EXPECT_EQ(tally.Value(), 0);
}

TEST_F(LayoutFixture, VerticalBarGeometry) {
  document.heightForWidth = [](int) { return 1000; };
  const TViewLayoutResult r = Run();
  EXPECT_EQ(r.drawingArea, (platform::Size{383, 300}));
  EXPECT_EQ(r.vertical, (TScrollBarState{true, true, 1000, 300, 16, 284}));
  EXPECT_EQ(r.vertical.MaxPosition(), 700);
  EXPECT_FALSE(r.horizontal.visible);
}

TEST_F(LayoutFixture, HorizontalExtentIsCappedAt6000) {
  document.scrollWidth = 9000;
  const TViewLayoutResult r = Run();
  EXPECT_TRUE(r.horizontal.visible);
  EXPECT_EQ(r.horizontal, (TScrollBarState{true, true, 6000, 400, 15, 385}));
  EXPECT_EQ(r.horizontal.MaxPosition(), 5600);
  EXPECT_EQ(r.drawingArea.height, 283);
}

TEST_F(LayoutFixture, HorizontalBarCanMakeTheVerticalOneNecessary) {
  document.scrollWidth = 500;
  document.heightForWidth = [](int) { return 295; };
  const TViewLayoutResult r = Run();
  ASSERT_TRUE(r.horizontal.visible);
  ASSERT_TRUE(r.vertical.visible);
  EXPECT_EQ(r.drawingArea, (platform::Size{383, 283}));
  EXPECT_EQ(r.horizontal.page, 383);
  EXPECT_EQ(r.vertical.page, 283);
}

TEST_F(LayoutFixture, LargeChangeIsAtLeastSixteen) {
  document.heightForWidth = [](int) { return 1000; };
  const TViewLayoutResult r = TViewLayout(defaults, screen, tally).Run(document, canvas, {100, 20});
  EXPECT_EQ(r.vertical.page, 20);
  EXPECT_EQ(r.vertical.largeChange, 16);
}

TEST_F(LayoutFixture, SingleBorderNarrowsTheDrawingArea) {
  defaults.BorderStyle = TBorderStyle::htSingle;
  const TViewLayoutResult r = Run();
  EXPECT_EQ(r.drawingArea, (platform::Size{396, 296}));
}

}  // namespace
}  // namespace talmeko::htmlview
