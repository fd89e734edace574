#include "preview/preview_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/a4_sheet.h"

namespace talmeko::preview {
namespace {

constexpr platform::SheetMetrics kA4 = talmeko::testing::kA4At600Dpi;

TEST(PreviewLayout, ZoomOfEveryItem) {
  const TPageArea area{800, 600, 800, 600, 96};
  struct Case {
    int item;
    double custom;
    double zoom;
  } cases[] = {
      {ziFitToPage, 0, (580.0 / 96) / (7016.0 / 600)}, {ziFitToWidth, 0, (780.0 / 96) / (4960.0 / 600)},
      {ziCustom, 2.25, 2.25}, {3, 0, 0.25}, {6, 0, 1.0}, {8, 0, 1.5}, {11, 0, 4.0}, {12, 0, 1.0}, {-1, 0, 1.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(ZoomOfItem(c.item, c.custom, area, kA4), c.zoom, 1e-12) << c.item;
}

TEST(PreviewLayout, PagesAreCentredOrTenPixelsFromTheEdgeWithScrollBars) {
  struct Case {
    const char* name;
    double zoom;
    bool two;
    TPageArea area;
    TPreviewLayout expected;
  } cases[] = {
      // 1.0: 793 x 1122 screen pixels, larger than the area.
      {"larger", 1.0, false, {800, 600, 800, 600, 96}, {1.0, 793, 1122, 813, 1142, 10, 10, 823, true}},
      // 0.25: 198 x 280, centred in a panel one pixel smaller than the client area.
      {"smaller", 0.25, false, {800, 600, 800, 600, 96}, {0.25, 198, 280, 799, 599, 300, 159, 518, false}},
      // Two pages of 198 side by side: 436 pixels wide in all, centred as a pair.
      {"two pages", 0.25, true, {800, 600, 800, 600, 96}, {0.25, 198, 280, 799, 599, 191, 159, 409, false}},
      // Exactly the client height plus the margins: not centred, no scroll bars.
      {"exact fit", 0.25, false, {800, 300, 800, 300, 96}, {0.25, 198, 280, 799, 300, 300, 10, 518, false}},
  };
  for (const Case& c : cases) {
    const TPreviewLayout got = LayOutPages(c.zoom, c.two, c.area, kA4);
    const TPreviewLayout& e = c.expected;
    EXPECT_EQ(got.pageWidth, e.pageWidth) << c.name;
    EXPECT_EQ(got.pageHeight, e.pageHeight) << c.name;
    EXPECT_EQ(got.containWidth, e.containWidth) << c.name;
    EXPECT_EQ(got.containHeight, e.containHeight) << c.name;
    EXPECT_EQ(got.pageLeft, e.pageLeft) << c.name;
    EXPECT_EQ(got.pageTop, e.pageTop) << c.name;
    EXPECT_EQ(got.page2Left, e.page2Left) << c.name;
    EXPECT_EQ(got.scrollBars, e.scrollBars) << c.name;
  }
}

TEST(PreviewLayout, FitToPageLeavesTenPixelsAboveAndBelow) {
  const TPageArea area{800, 600, 800, 600, 96};
  const TPreviewLayout got = LayOutPages(ZoomOfItem(ziFitToPage, 0, area, kA4), false, area, kA4);
  EXPECT_GE(got.pageHeight, 579);
  EXPECT_LE(got.pageHeight, 580);
  EXPECT_EQ(got.pageWidth, 410);
  EXPECT_EQ(got.pageTop, 10);
  EXPECT_FALSE(got.scrollBars);
}

TEST(PreviewLayout, AnEmptyRecordingLaysOutWithoutPages) {
  const TPageArea area{800, 600, 800, 600, 96};
  const platform::SheetMetrics none{};
  EXPECT_EQ(ZoomOfItem(ziFitToPage, 0, area, none), 1.0);
  const TPreviewLayout got = LayOutPages(1.0, true, area, none);
  EXPECT_EQ(got.pageWidth, 0);
  EXPECT_EQ(got.pageHeight, 0);
  EXPECT_FALSE(got.scrollBars);
}

TEST(PreviewLayout, GridLinesInInchesAndCentimetres) {
  struct Case {
    int extent;
    double perInch;
    std::size_t count;
    std::vector<int> firstThree;
    int last;
  } cases[] = {
      {4960, 1.0, 8, {600, 1200, 1800}, 4800},
      {7016, 1.0, 12, {600, 1200, 1800}, 7200},
      {4960, 2.54, 21, {236, 472, 709}, 4961},  // the last one lies just outside the sheet
      {0, 2.54, 0, {}, 0},
  };
  for (const Case& c : cases) {
    const std::vector<int> got = GridPositions(c.extent, 600, c.perInch);
    ASSERT_EQ(got.size(), c.count) << c.extent;
    if (got.empty()) continue;
    EXPECT_EQ(std::vector<int>(got.begin(), got.begin() + 3), c.firstThree) << c.extent;
    EXPECT_EQ(got.back(), c.last) << c.extent;
  }
  // 2.5 rounds to 2, 3.5 to 4: halves go to the even neighbour.
  EXPECT_EQ(GridPositions(5, 2, 1.0), (std::vector<int>{2, 4}));
  EXPECT_EQ(GridPositions(7, 2, 1.0), (std::vector<int>{2, 4, 6, 8}));
}

TEST(PreviewLayout, ZoomClicksStopAtTheLimits) {
  struct Case {
    double zoom;
    bool left, right;
    double expected;
  } cases[] = {
      {1.0, true, false, 1.5}, {1.0, false, true, 1.0 / 1.5}, {19.0, true, false, 28.5}, {28.5, true, false, 28.5},
      {0.1, false, true, 0.1}, {1.0, true, true, 1.0}, {1.0, false, false, 1.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ClickedZoom(c.zoom, c.left, c.right), c.expected) << c.zoom;
}

TEST(PreviewLayout, RecentringPutsTheClickedPointMidArea) {
  EXPECT_EQ(RecentredScroll(1190, 0.5f, 800), 195);
  EXPECT_EQ(RecentredScroll(1190, 0.0f, 800), -400);
}

}  // namespace
}  // namespace talmeko::preview
