#include "htmlview/ui/html_view_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>

#include "support/qt_application.h"

namespace talmeko::htmlview::ui {
namespace {

// 800 x 1000 pixels of 20-pixel stripes, each labelled with its number.
class StripedDocument : public TViewDocument {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 1000;
  static constexpr int kStripe = 20;
  int paintedRows = 0;

  bool HasContent() const override { return true; }
  TLayoutResult LayOut(platform::Canvas&, int, int) override { return {kHeight, kWidth}; }
  void Paint(platform::Canvas& canvas, const TPaintContext& c) override {
    canvas.SelectFont({"Arial", 14});
    for (int row = 0; row * kStripe < kHeight; ++row) {
      const int top = row * kStripe - c.yTop;
      if (top + kStripe <= c.clip.top || top >= c.clip.bottom) continue;
      ++paintedRows;
      const platform::Color color = row % 2 ? platform::Rgb(0xFF, 0x88, 0x00) : platform::Rgb(0x30, 0x60, 0xC0);
      canvas.FillRect({c.xOffset + 10, top, c.xOffset + kWidth - 10, top + kStripe - 2}, color);
      const std::u16string label = u"Строка " + std::u16string(1, static_cast<char16_t>(u'0' + row % 10));
      canvas.DrawText(c.xOffset + 14, top + 1, label, platform::Rgb(0, 0, 0));
    }
  }
  int CharPosAt(platform::Point p) const override { return p.y / kStripe; }
  TSelection WordAt(int position) const override { return {position, position + 1}; }
  std::u16string SelectedText(TSelection) const override { return {}; }
};

TEST(THtmlViewWidget, ShowsTheDocumentWithBothBarsAndScrolls) {
  talmeko::testing::TestApplication();
  StripedDocument document;
  THtmlViewWidget view;
  view.resize(400, 300);
  view.SetDocument(&document);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.DocumentLoaded();
  QApplication::processEvents();

  const int bar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
  EXPECT_EQ(view.objectName(), QStringLiteral("HTMLView"));
  EXPECT_EQ(view.frameWidth(), 0);
  ASSERT_TRUE(view.verticalScrollBar()->isVisible());
  ASSERT_TRUE(view.horizontalScrollBar()->isVisible());
  EXPECT_EQ(view.verticalScrollBar()->maximum(), StripedDocument::kHeight - (300 - bar));
  EXPECT_EQ(view.horizontalScrollBar()->maximum(), StripedDocument::kWidth - (400 - bar));
  EXPECT_EQ(view.viewport()->size(), QSize(400 - bar, 300 - bar));

  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(view.Controller().VerticalPosition(), 16);
  EXPECT_EQ(view.verticalScrollBar()->value(), 16);

  const QPointF at(50, 50);
  QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(view.viewport(), &wheel);
  EXPECT_EQ(view.Controller().VerticalPosition(), 16 + 16 * QApplication::wheelScrollLines());

  view.verticalScrollBar()->setValue(200);
  EXPECT_EQ(view.Controller().VerticalPosition(), 200) << "the bar moves the view";

  QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(view.Controller().VerticalPosition(), 0);

  document.paintedRows = 0;
  const QImage shot = view.grab().toImage();
  EXPECT_GT(document.paintedRows, 0);
  EXPECT_LE(document.paintedRows, (300 - bar) / StripedDocument::kStripe + 2) << "rows outside the clip are skipped";
  EXPECT_EQ(shot.pixelColor(2, 2), QColor(view.palette().color(QPalette::Base)).toRgb()) << "the margin shows the background";
  EXPECT_EQ(shot.pixelColor(300, 30), QColor(0xFF, 0x88, 0x00)) << "the second stripe";
  EXPECT_TRUE(shot.save(QStringLiteral(TALMEKO_TEST_OUTPUT "/html_view_widget.png")));
}

}  // namespace
}  // namespace talmeko::htmlview::ui
