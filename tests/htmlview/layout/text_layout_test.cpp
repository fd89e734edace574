#include "htmlview/layout/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmlview/base/text_util.h"
#include "layout_test_trees.h"
#include "support/fake_canvas.h"

namespace talmeko::htmlview {
namespace {

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) AppendUtf8(out, c);
  return out;
}

struct MeasuredText {
  explicit MeasuredText(const TSection& s) : layout(s, 0) {
    fonts.Reset(canvas);
    layout.Measure(fonts);
  }
  std::vector<std::string> Lines(int width) {
    layout.Arrange(width);
    std::vector<std::string> out;
    for (const auto& line : layout.Lines()) out.push_back(Utf8(layout.LineText(line)));
    return out;
  }

  talmeko::testing::FakeCanvas canvas;
  TLayoutFonts fonts;
  TSectionLayout layout;
};

TEST(TextWidthsTest, MinimumIsTheWidestUnbreakableRun) {
  struct Case {
    std::u16string text;
    int min;
    int max;
  };
  const std::vector<Case> cases = {
      {u"310, 4390", 32, 72},  // breaks at the space: "310," and "4390"
      {u"310,4390", 64, 64},   // a comma is no break opportunity
      {u"Anchor", 48, 48},
      {u"a-bc", 16, 32},        // after a hyphen: "a-" and "bc"
      {u"ab/c?de", 24, 56},     // after a slash and a question mark: "ab/", "c?", "de"
      {u"Very Dark Red", 32, 104},
      {u"", 0, 0},
  };
  for (const Case& c : cases) {
    const auto section = testing::Text(c.text);
    MeasuredText m(*section);
    EXPECT_EQ(m.layout.MinWidth(), c.min) << Utf8(c.text);
    EXPECT_EQ(m.layout.MaxWidth(), c.max) << Utf8(c.text);
  }
}

TEST(TextWidthsTest, ForcedBreakEndsTheLongestLine) {
  const auto section = testing::Text(u"abcdef\nab");
  MeasuredText m(*section);
  EXPECT_EQ(m.layout.MaxWidth(), 48);
  EXPECT_EQ(m.Lines(1000), (std::vector<std::string>{"abcdef", "ab"}));
}

TEST(TextWidthsTest, FontsAreMeasuredPerRun) {
  TSection section(TTextAlign::Left, 0);
  section.AddText(u"ab ", testing::TestFont(16));
  section.AddText(u"cd", testing::TestFont(32));  // 16 per character
  MeasuredText m(section);
  EXPECT_EQ(m.layout.MinWidth(), 32);
  EXPECT_EQ(m.layout.MaxWidth(), 16 + 8 + 32);
  m.layout.Arrange(1000);
  ASSERT_EQ(m.layout.Lines().size(), 1u);
  EXPECT_EQ(m.layout.Lines()[0].height, 36);  // the taller font: 32 + 32/8
}

TEST(TextBreakTest, LinesBreakAtOpportunitiesAndLongRunsOverflow) {
  struct Case {
    std::u16string text;
    int width;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {u"Very Dark Garnet", 1000, {"Very Dark Garnet"}},
      {u"Very Dark Garnet", 80, {"Very Dark", "Garnet"}},  // "Very Dark" is 72
      {u"Very Dark Garnet", 72, {"Very Dark", "Garnet"}},  // an exact fit stays on the line
      {u"Very Dark Garnet", 71, {"Very", "Dark", "Garnet"}},
      {u"310,4390,550", 20, {"310,4390,550"}},  // nowhere to break: the line overflows
      {u"310, 4390", 40, {"310,", "4390"}},
      {u"x-y", 8, {"x-", "y"}},
  };
  for (const Case& c : cases) {
    const auto section = testing::Text(c.text);
    MeasuredText m(*section);
    EXPECT_EQ(m.Lines(c.width), c.lines) << Utf8(c.text) << " in " << c.width;
  }
}

TEST(TextBreakTest, LineHeightIsCellHeightPlusExternalLeading) {
  const auto section = testing::Text(u"aa bb");
  talmeko::testing::FakeCanvas canvas;
  canvas.SetExternalLeading(3);
  TLayoutFonts fonts;
  fonts.Reset(canvas);
  TSectionLayout layout(*section, 0);
  layout.Measure(fonts);
  EXPECT_EQ(layout.Arrange(20), 2 * 21);
  ASSERT_EQ(layout.Lines().size(), 2u);
  EXPECT_EQ(layout.Lines()[1].y, 21);
}

TEST(TextBreakTest, AlignmentShiftsEachLineInItsBox) {
  struct Case {
    TTextAlign align;
    int x;
  };
  for (const Case& c : std::vector<Case>{{TTextAlign::Left, 0}, {TTextAlign::Center, 38}, {TTextAlign::Right, 76},
                                         {TTextAlign::Justify, 0}}) {
    const auto section = testing::Text(u"abc", testing::TestFont(), c.align);
    MeasuredText m(*section);
    m.layout.Arrange(100);
    EXPECT_EQ(m.layout.Lines()[0].x, c.x);
  }
}

TEST(TextPositionTest, NearestBoundaryOnTheNearestLine) {
  const auto section = testing::Text(u"Very Dark");
  MeasuredText m(*section);
  m.layout.Arrange(40);  // "Very" on the first line, "Dark" on the second
  m.layout.SetOrigin(100, 50);
  struct Case {
    platform::Point p;
    int position;
  };
  const std::vector<Case> cases = {
      {{100, 50}, 0}, {{103, 55}, 0}, {{105, 55}, 1}, {{131, 60}, 4}, {{0, 0}, 0},
      {{100, 68}, 5},   // the second line starts at "D"
      {{117, 70}, 7},   // between "a" and "r" is 16 pixels in
      {{500, 500}, 9},  // past the end of the last line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(m.layout.CharPosAt(c.p), c.position) << c.p.x << "," << c.p.y;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
