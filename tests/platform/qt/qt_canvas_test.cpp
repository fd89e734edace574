#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/qt/qt_font_cache.h"
#include "support/qt_application.h"

namespace talmeko::platform::qt {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

struct QtCanvasTest : ::testing::Test {
  QImage image{100, 60, QImage::Format_RGB32};
  void SetUp() override {
    talmeko::testing::TestApplication();
    image.fill(Qt::white);
  }
  QRgb At(int x, int y) const { return image.pixel(x, y); }
};

TEST_F(QtCanvasTest, FillUsesRedInTheLowByte) {
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.FillRect({10, 5, 30, 15}, 0x0088FF);
    canvas.FillRect({40, 5, 50, 15}, kNoColor);
  }
  EXPECT_EQ(At(10, 5), qRgb(0xFF, 0x88, 0x00));
  EXPECT_EQ(At(29, 14), qRgb(0xFF, 0x88, 0x00));
  EXPECT_EQ(At(30, 14), kWhite) << "right and bottom are outside";
  EXPECT_EQ(At(29, 15), kWhite);
  EXPECT_EQ(At(45, 10), kWhite) << "no colour fills nothing";
}

TEST_F(QtCanvasTest, SystemColoursAreResolvedThroughTheScreen) {
  ScreenInfo screen;
  screen.windowColor = Rgb(1, 2, 3);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter, screen);
    canvas.FillRect({0, 0, 10, 10}, kSystemColorBase + kColorWindow);
  }
  EXPECT_EQ(At(5, 5), qRgb(1, 2, 3));
}

TEST_F(QtCanvasTest, ClipLimitsDrawingAndRestoreLiftsIt) {
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    {
      CanvasStateGuard guard(canvas);
      canvas.IntersectClip({20, 20, 40, 40});
      canvas.IntersectClip({30, 0, 100, 100});
      canvas.FillRect({0, 0, 100, 60}, Rgb(0, 0, 255));
    }
    canvas.FillRect({0, 50, 5, 55}, Rgb(0, 255, 0));
  }
  EXPECT_EQ(At(30, 20), qRgb(0, 0, 255));
  EXPECT_EQ(At(39, 39), qRgb(0, 0, 255));
  EXPECT_EQ(At(25, 25), kWhite) << "outside the second clip";
  EXPECT_EQ(At(45, 25), kWhite) << "outside the first clip";
  EXPECT_EQ(At(2, 52), qRgb(0, 255, 0)) << "the clip is gone after Restore";
}

TEST_F(QtCanvasTest, FrameCoversOnlyTheEdgePixels) {
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.FrameRect({10, 10, 20, 20}, Rgb(255, 0, 0));
  }
  for (auto [x, y] : {std::pair{10, 10}, {19, 10}, {10, 19}, {19, 19}, {15, 10}}) {
    EXPECT_EQ(At(x, y), qRgb(255, 0, 0)) << x << "," << y;
  }
  EXPECT_EQ(At(15, 15), kWhite);
  EXPECT_EQ(At(20, 15), kWhite);
}

TEST_F(QtCanvasTest, AnisotropicMappingScalesAndMoves) {
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    Mapping m;
    m.anisotropic = true;
    m.windowOrg = {100, 100};
    m.windowExt = {10, 10};
    m.viewportOrg = {50, 10};
    m.viewportExt = {20, 30};
    canvas.SetMapping(m);
    canvas.FillRect({100, 100, 105, 101}, Rgb(0, 0, 0));
    canvas.SetMapping(Mapping{});
    canvas.FillRect({0, 0, 2, 2}, Rgb(0, 0, 0));
  }
  EXPECT_EQ(At(50, 10), qRgb(0, 0, 0));
  EXPECT_EQ(At(59, 12), qRgb(0, 0, 0));
  EXPECT_EQ(At(60, 10), kWhite) << "five logical units are ten pixels across";
  EXPECT_EQ(At(50, 13), kWhite) << "one logical unit is three pixels down";
  EXPECT_EQ(At(1, 1), qRgb(0, 0, 0)) << "text mode maps one to one again";
}

TEST_F(QtCanvasTest, TextIsDrawnInItsColourInsideItsCell) {
  FontDesc font{"Arial", 16};
  int width = 0;
  int height = 0;
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.SelectFont(font);
    width = canvas.TextWidth(u"WWW");
    height = canvas.GetFontMetrics().height;
    canvas.DrawText(5, 5, u"WWW", Rgb(255, 0, 0));
  }
  int red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qRed(At(x, y)) > 200 && qGreen(At(x, y)) < 100) {
        ++red;
        EXPECT_TRUE(x >= 5 && x < 5 + width && y >= 5 && y < 5 + height) << x << "," << y;
      }
    }
  }
  EXPECT_GT(red, 20);
  EXPECT_EQ(At(5 + width / 2, 3), kWhite) << "no background is filled";
}

// Long runs in fonts whose advances are fractional end where they were
// measured, so a cell sized to its text does not clip it.
TEST(QtCanvasText, LongRunEndsAtItsMeasuredWidth) {
  talmeko::testing::TestApplication();
  struct Case {
    const char* family;
    char16_t character;
    int count;
  };
  for (const Case& c : {Case{"Times New Roman", u'i', 40}, Case{"Arial", u'm', 30}, Case{"Courier New", u'x', 25}}) {
    QImage image(600, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::u16string text(static_cast<std::size_t>(c.count), c.character);
    int width = 0;
    int advance = 0;
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SelectFont({c.family, 16});
      width = canvas.TextWidth(text);
      advance = canvas.TextWidth(std::u16string(1, c.character));
      canvas.DrawText(10, 5, text, Rgb(0, 0, 0));
    }
    int rightmostInk = -1;
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) {
        if (qGray(image.pixel(x, y)) < 128) rightmostInk = x;
      }
    }
    EXPECT_EQ(width, advance * c.count) << c.family;
    EXPECT_LT(rightmostInk, 10 + width) << c.family << ": ink past the measured end";
    EXPECT_GE(rightmostInk, 10 + width - advance) << c.family << ": the last character is missing";
  }
}

TEST_F(QtCanvasTest, TextBackgroundFillsTheCell) {
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.SelectFont({"Arial", 16});
    canvas.DrawText(5, 5, u"..", Rgb(0, 0, 0), Rgb(0, 0, 255));
  }
  EXPECT_EQ(At(6, 6), qRgb(0, 0, 255));
}

TEST(QtFontMetrics, AreMappedPlausibly) {
  talmeko::testing::TestApplication();
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  canvas.SelectFont({"Arial", 16});
  const FontMetrics m = canvas.GetFontMetrics();
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_EQ(m.EmHeight(), 16);
  EXPECT_GE(m.internalLeading, 0);
  EXPECT_GE(m.externalLeading, 0);
  EXPECT_GT(m.descent, 0);
  EXPECT_GT(m.aveCharWidth, 3);
  EXPECT_LT(m.aveCharWidth, 16);
  EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
  EXPECT_EQ(m.charSet, kRussianCharset);
  EXPECT_GT(canvas.TextWidth(u"WWW"), canvas.TextWidth(u"iii"));
  EXPECT_EQ(canvas.TextWidth(u"ab"), canvas.TextWidth(u"a") + canvas.TextWidth(u"b"));
  EXPECT_GT(canvas.TextWidth(u"Кирова"), 0);
  canvas.SelectFont({"Arial", 32});
  EXPECT_GT(canvas.GetFontMetrics().height, m.height);
}

TEST(QtFontCache, KeepsOneEntryPerFontAndRemembersAdvances) {
  talmeko::testing::TestApplication();
  QImage image(1, 1, QImage::Format_RGB32);
  QtFontCache& cache = QtFontCache::Instance();
  QtFontEntry& a = cache.Get({"Liberation Serif", 13}, &image);
  const std::size_t size = cache.Size();
  QtFontEntry& b = cache.Get({"Liberation Serif", 13}, &image);
  EXPECT_EQ(&a, &b);
  EXPECT_EQ(cache.Size(), size);
  cache.Get({"Liberation Serif", 13, kFwBold}, &image);
  EXPECT_EQ(cache.Size(), size + 1);
  EXPECT_EQ(a.Advance(u'x'), QFontMetrics(a.Font(), &image).horizontalAdvance(QChar(u'x')));
  EXPECT_EQ(a.TextWidth(u"xx\U0001F600"), 2 * a.Advance(u'x') +
                                               QFontMetrics(a.Font(), &image).horizontalAdvance(QString::fromUtf8("\xF0\x9F\x98\x80")));
}

}  // namespace
}  // namespace talmeko::platform::qt
