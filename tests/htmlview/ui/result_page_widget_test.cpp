// The view widget with real result pages: decoded, parsed, laid out with the
// installed fonts and painted through Qt.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <sstream>

#include "htmlview/parse_support.h"
#include "htmlview/ui/html_view_widget.h"
#include "support/qt_application.h"

namespace talmeko::htmlview::ui {
namespace {

using htmlview::testing::PageColour;
using htmlview::testing::ResultPage;

const std::vector<std::string> kFiveBrands = {"DMC", "\xc3\xe0\xec\xec\xe0", "Anchor", "Madeira",
                                              "\xcf\xcd\xca \xe8\xec. \xca\xe8\xf0\xee\xe2\xe0"};

std::vector<PageColour> SeveralColours() {
  return {
      {{{"#ff8800", "740"}, {"#ff8800", "0203"}, {"#FF8800", "316, 314"}, {"#f80", "0204"}, {"#ff8800", "3804"}}},
      {{{"#000000", "310"}, {"#000000", "2402"}, {"#000000", "403"}, {"", ""}, {"#000000", "0101"}}},
      {{{"#2050c0", "797"}, {"#2050c0", "3203"}, {"#2050c0", "132"}, {"#2050c0", "0912"}, {"A21B22", "5279"}}},
  };
}

void Load(THtmlViewWidget& view, const std::string& page) {
  std::stringstream stream;
  stream << page;  // the position is left at the end, as the main window leaves it
  view.LoadFromStream(&stream, "", TDocType::HTMLType);
  QApplication::processEvents();
}

int CountPixels(const QImage& image, QRgb rgb) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
  }
  return n;
}

TEST(ResultPageWidget, FiveBrandsSeveralColoursOnScreen) {
  talmeko::testing::TestApplication();
  THtmlViewWidget view;
  view.resize(546, 348);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  Load(view, ResultPage(kFiveBrands, SeveralColours()));

  ASSERT_NE(view.DocumentView(), nullptr);
  EXPECT_TRUE(view.DocumentView()->HasContent());
  EXPECT_FALSE(view.verticalScrollBar()->isVisible());  // three rows fit
  const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(image.save(QStringLiteral(TALMEKO_TEST_OUTPUT "/result_page_five_brands.png")));
  const int dpr = static_cast<int>(image.devicePixelRatio());
  // Every swatch is 50 pixels wide and as tall as a line of 12-point text
  // (at least 16 pixels): 4 orange and 4 blue ones (the "A21B22" one is
  // transparent), 4 black ones.
  EXPECT_GE(CountPixels(image, qRgb(0xFF, 0x88, 0x00)), 5 * 50 * 16 * dpr * dpr);
  EXPECT_GE(CountPixels(image, qRgb(0x20, 0x50, 0xC0)), 4 * 50 * 16 * dpr * dpr);
  EXPECT_LT(CountPixels(image, qRgb(0x20, 0x50, 0xC0)), 5 * 50 * 30 * dpr * dpr);
  // The body margin: the top-left corner is page background.
  EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, view.palette().color(QPalette::Base).rgb() & 0xFFFFFF);
}

// Ctrl+C copies the selection for pasting into a shopping list.
TEST(ResultPageWidget, CopyPutsTheSelectedTableOnTheClipboard) {
  talmeko::testing::TestApplication();
  THtmlViewWidget view;
  view.resize(546, 348);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  Load(view, ResultPage({"DMC", "\xc3\xe0\xec\xec\xe0"},
                        {{{{"#ff8800", "740"}, {"#ff8800", "0203"}}}, {{{"#000000", "310"}, {"", ""}}}}));
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before")) << "nothing selected, nothing copied";
  QWidget* area = view.viewport();
  QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseMove(area, QPoint(540, 300));
  QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(540, 300));
  QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("DMC\tГамма\n740\t0203\n310"));
}

TEST(ResultPageWidget, LongPageScrollsAndEveryLoadShowsTheTop) {
  talmeko::testing::TestApplication();
  THtmlViewWidget view;
  view.resize(546, 348);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  std::vector<PageColour> many;
  for (int i = 0; i < 120; ++i) many.push_back(SeveralColours()[static_cast<std::size_t>(i % 3)]);
  Load(view, ResultPage(kFiveBrands, many));
  ASSERT_TRUE(view.verticalScrollBar()->isVisible());
  EXPECT_GT(view.verticalScrollBar()->maximum(), 120 * 16);
  view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
  QApplication::processEvents();
  EXPECT_EQ(view.Controller().VerticalPosition(), view.verticalScrollBar()->maximum());

  Load(view, ResultPage(kFiveBrands, many));
  EXPECT_EQ(view.Controller().VerticalPosition(), 0);
  EXPECT_EQ(view.verticalScrollBar()->value(), 0);

  // A number list that cannot wrap makes the table wider than the view.
  std::string longList = "1";
  for (int i = 2; i < 120; ++i) longList += "," + std::to_string(i);
  Load(view, ResultPage({"DMC"}, {{{{"#ff8800", longList}}}}));
  EXPECT_TRUE(view.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(view.verticalScrollBar()->isVisible());

  Load(view, "");  // the main window clears the table with an empty page
  EXPECT_FALSE(view.DocumentView()->HasContent());
  EXPECT_FALSE(view.verticalScrollBar()->isVisible());
  EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
}

}  // namespace
}  // namespace talmeko::htmlview::ui
