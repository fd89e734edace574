#include "htmlview/print/page_geometry.h"

#include <gtest/gtest.h>

#include <string>

#include "htmlview/base/exceptions.h"
#include "support/a4_sheet.h"

namespace talmeko::htmlview {
namespace {

// A4 at 600 dpi with a 100-pixel unprintable edge all round.
constexpr platform::SheetMetrics kA4At600 = talmeko::testing::kA4At600Dpi;

TEST(PageGeometry, A4At600DpiWithTwoCentimetreMargins) {
  // Margins: [2 / 2.54 x 600] = [472.44] = 472, less the offset of 100: 372.
  // Printable: 4760 + 100 - 372 - 472 = 4016 wide, 6816 + 100 - 372 - 472 = 6072 high.
  // Logical at 96 per inch: [372 x 0.16] = [59.52] = 60, [4016 x 0.16] = 643, [6072 x 0.16] = 972.
  const TPageGeometry g = ComputePageGeometry(kA4At600, TPrintMargins{}, 96);
  EXPECT_EQ(g.unitsPerInch, 96);
  EXPECT_EQ(g.leftMargin, 372);
  EXPECT_EQ(g.topMargin, 372);
  EXPECT_EQ(g.printableWidth, 4016);
  EXPECT_EQ(g.printableHeight, 6072);
  EXPECT_EQ(g.left, 60);
  EXPECT_EQ(g.top, 60);
  EXPECT_EQ(g.width, 643);
  EXPECT_EQ(g.height, 972);
  EXPECT_EQ(g.deviceClip, (platform::Rect{372, 372, 4390, 6444}));
  const platform::Mapping m = g.PageMapping(kA4At600);
  EXPECT_TRUE(m.anisotropic);
  EXPECT_EQ(m.windowExt, (platform::Size{96, 96}));
  EXPECT_EQ(m.viewportExt, (platform::Size{600, 600}));
}

TEST(PageGeometry, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  // 96 x 1.5 = 144; 100 x 1.005 = 100.5 rounds to 100.
  EXPECT_EQ(ComputePageGeometry(kA4At600, {2, 2, 2, 2, 1.5}, 96).unitsPerInch, 144);
  EXPECT_EQ(ComputePageGeometry(kA4At600, {2, 2, 2, 2, 1.005}, 100).unitsPerInch, 100);
}

TEST(PageGeometry, BrokenSheetsAndImpossibleMarginsAreRefused) {
  struct Case {
    const char* name;
    platform::SheetMetrics sheet;
    TPrintMargins margins;
    const char* message;
  };
  const char* badSheet = "Printer reports a page size that is not valid";
  const char* noRoom = "Print margins leave no room for a page";
  const Case cases[] = {
      {"no resolution", {0, 0, 4960, 7016, 4960, 7016, 0, 0}, {}, badSheet},
      {"no sheet", {0, 0, 0, 0, 0, 0, 600, 600}, {}, badSheet},
      {"printable area larger than the sheet", {0, 0, 4960, 7016, 5000, 7016, 600, 600}, {}, badSheet},
      {"offset past the sheet", {100, 0, 4960, 7016, 4960, 7016, 600, 600}, {}, badSheet},
      {"absurd sheet", {0, 0, 2000000000, 7016, 2000000000, 7016, 600, 600}, {}, badSheet},
      {"margins wider than the sheet", kA4At600, {15, 15, 2, 2, 1}, noRoom},
      {"negative margin", kA4At600, {-30, 2, 2, 2, 1}, noRoom},
      {"no scale", kA4At600, {2, 2, 2, 2, 0}, "Print scale must be positive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ComputePageGeometry(c.sheet, c.margins, 96);
      ADD_FAILURE() << "accepted";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
