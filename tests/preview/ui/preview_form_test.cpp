#include "preview/ui/preview_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "preview/ui/page_box.h"
#include "preview/ui/prn_status_form.h"
#include "preview_test_support.h"
#include "support/fake_spooler.h"

namespace talmeko::preview::ui {
namespace {

using testing::A4Printer;

class PreviewFormTest : public ::testing::Test {
 protected:
  void SetUp() override { talmeko::testing::TestApplication(); }

  TPreviewForm& Open(int pages) {
    testing::LoadPages(view, pages);
    bool aborted = true;
    form = std::make_unique<TPreviewForm>(nullptr, view, aborted);
    EXPECT_FALSE(aborted);
    EXPECT_EQ(form->Recorder()->PageCount(), pages);
    form->resize(997, 545);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return *form;
  }

  std::vector<bool> NavEnabled() const {
    std::vector<bool> out;
    for (QToolButton* b : {form->PrevPageBut, form->NextPageBut, form->FirstPageSpeed, form->PrevPageSpeed,
                           form->NextPageSpeed, form->LastPageSpeed, form->PageNumSpeed}) {
      out.push_back(b->isEnabled());
    }
    return out;
  }

  void ChooseZoom(const char* item) {
    form->ZoomBox->setCurrentIndex(form->ZoomBox->findText(item));
    emit form->ZoomBox->activated(form->ZoomBox->currentIndex());
  }

  // Straight to the box, wherever it is scrolled to: a click through the
  // window would land on whatever covers that point.
  static void Click(QWidget* box, Qt::MouseButton button, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(QPointF(at)), button, button, {});
    QApplication::sendEvent(box, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, box->mapToGlobal(QPointF(at)), button, {}, {});
    QApplication::sendEvent(box, &release);
  }

  static bool AllWhite(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
      }
    }
    return !image.isNull();
  }

  QApplication& app = talmeko::testing::TestApplication();  // before any widget
  A4Printer printer;
  talmeko::testing::CurrentPrinterScope printerScope{&printer};
  testing::QtPumpScope pump;
  htmlview::ui::THtmlViewWidget view;
  std::unique_ptr<TPreviewForm> form;
};

TEST_F(PreviewFormTest, OnePageAndNoPageDisableEveryPageButton) {
  struct Case {
    int pages;
    const char* label;
    bool print;
  } cases[] = {{1, "Page 1 of 1", true}, {0, "Page 0 of 0", false}};
  for (const Case& c : cases) {
    Open(c.pages);
    EXPECT_EQ(form->CurPageLabel->text(), c.label);
    EXPECT_EQ(NavEnabled(), std::vector<bool>(7, false)) << c.pages;
    EXPECT_EQ(form->PrintBut->isEnabled(), c.print) << c.pages;
    EXPECT_EQ(form->PagePanel->isVisible(), c.pages > 0);
    form->TwoPageBut->click();
    Click(form->PB1, Qt::LeftButton, {5, 5});
    EXPECT_FALSE(form->ZoomLabel->text().isEmpty());
  }
}

TEST_F(PreviewFormTest, TwoPageDisplayMovesThePairByOnePage) {
  Open(3);
  form->TwoPageBut->click();
  ASSERT_TRUE(form->PagePanel2->isVisible());
  EXPECT_EQ(form->PagePanel2->x(), form->PagePanel->x() + form->PagePanel->width() + 20);
  EXPECT_FALSE(AllWhite(form->PB2));
  form->NextPageBut->click();
  EXPECT_EQ(form->CurPage(), 1);
  EXPECT_EQ(form->CurPageLabel->text(), "Page 2 of 3");
  EXPECT_TRUE(form->NextPageBut->isEnabled());
  form->NextPageSpeed->click();
  EXPECT_EQ(form->CurPageLabel->text(), "Page 3 of 3");
  EXPECT_EQ(NavEnabled(), (std::vector<bool>{true, false, true, true, false, false, true}));
  EXPECT_TRUE(AllWhite(form->PB2));
  EXPECT_FALSE(AllWhite(form->PB1));
  form->FirstPageSpeed->click();
  EXPECT_EQ(form->CurPage(), 0);
  ChooseZoom("200%");
  EXPECT_TRUE(form->OnePageBut->isChecked());
  EXPECT_FALSE(form->PagePanel2->isVisible());
  EXPECT_EQ(form->ZoomLabel->text(), "200%");
}

TEST_F(PreviewFormTest, ZoomToolStepsAndRecentres) {
  Open(2);
  ChooseZoom("100%");
  struct Step {
    TPageBox* box;
    Qt::MouseButton button;
    double zoom;
    const char* label;
  } steps[] = {
      {form->PB1, Qt::LeftButton, 1.5, "150%"},   {form->PB1, Qt::RightButton, 1.0, "100%"},
      {form->PB1, Qt::RightButton, 1 / 1.5, "67%"}, {form->PB2, Qt::LeftButton, 1 / 1.5, "67%"},
      {form->PB1, Qt::MiddleButton, 1 / 1.5, "67%"},
  };
  for (const Step& s : steps) {
    Click(s.box, s.button, {s.box->width() / 2, s.box->height() / 2});
    EXPECT_NEAR(form->Zoom(), s.zoom, 1e-12) << s.label;
    EXPECT_EQ(form->ZoomLabel->text(), s.label);
  }
  EXPECT_EQ(form->ZoomBox->currentText(), "Custom");
  EXPECT_FALSE(form->FitPageBut->isChecked());
  // Zoomed in on the lower right quarter: that point comes near the middle.
  Click(form->PB1, Qt::LeftButton, {form->PB1->width() * 3 / 4, form->PB1->height() * 3 / 4});
  QScrollBar* v = form->ScrollBox1->verticalScrollBar();
  EXPECT_EQ(v->value(), std::clamp(form->PagePanel->height() * 3 / 4 - form->ScrollBox1->height() / 2, 0, v->maximum()));
}

TEST_F(PreviewFormTest, PagesAreCentredWhenSmallAndTenPixelsInWhenLarge) {
  Open(1);
  ChooseZoom("25%");
  EXPECT_FALSE(form->ScrollBox1->horizontalScrollBar()->isVisible());
  EXPECT_EQ(form->PagePanel->x(), form->ContainPanel->width() / 2 - form->PagePanel->width() / 2);
  EXPECT_EQ(form->PagePanel->y(), form->ContainPanel->height() / 2 - form->PagePanel->height() / 2);
  ChooseZoom("400%");
  EXPECT_EQ(form->PagePanel->pos(), QPoint(10, 10));
  EXPECT_EQ(form->PagePanel->width(), 96 * 4 * 4960 / 600);
  EXPECT_TRUE(form->ScrollBox1->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(form->ScrollBox1->verticalScrollBar()->isVisible());
  // The hand tool drags the page: the scroll moves by the distance dragged.
  form->HandCursorBut->click();
  QScrollBar* h = form->ScrollBox1->horizontalScrollBar();
  const int before = h->value();
  QTest::mousePress(form->PB1, Qt::LeftButton, {}, {300, 300});
  QMouseEvent move(QEvent::MouseMove, QPointF(250, 280), form->PB1->mapToGlobal(QPointF(250, 280)), Qt::NoButton,
                   Qt::LeftButton, {});
  QApplication::sendEvent(form->PB1, &move);
  QTest::mouseRelease(form->PB1, Qt::LeftButton, {}, {250, 280});
  EXPECT_EQ(h->value(), before + 50);
  EXPECT_DOUBLE_EQ(form->Zoom(), 4.0);
}

TEST_F(PreviewFormTest, HintLineAndClosing) {
  Open(2);
  const std::pair<QWidget*, const char*> hints[] = {
      {form->PrintBut, "Print the Current Document"},
      {form->PB1, "Page View.  With Zoom Tool, left or right click to zoom in/out.  Click & drag with Hand Tool to pan."},
      {form->ZoomLabel, "Displays the Current Zoom Level (100% = normal)"},
  };
  for (const auto& [widget, hint] : hints) {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(widget, &enter);
    EXPECT_EQ(form->HintLabel->text(), hint);
  }
  EXPECT_EQ(form->FitPageBut->toolTip(), "Fit to Page");
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->Recorder(), nullptr);
}

TEST_F(PreviewFormTest, CancelDuringPageThreeKeepsThreePagesAndReportsAborted) {
  testing::LoadPages(view, 5);
  TMetaFilePrinter recorder;
  htmlview::THtmlView& printing = view.Engine();
  TPrnStatusForm status(nullptr);
  std::vector<QString> labels;
  // The paginator pumps messages after drawing each page; the click is
  // queued as the user's would be, once page 2 has been reported.
  platform::SetMessagePump([&] {
    labels.push_back(status.StatusLabel->text());
    if (labels.back() == "Page Number 2") {
      QMetaObject::invokeMethod(status.CancelButton, &QPushButton::click, Qt::QueuedConnection);
    }
    QCoreApplication::processEvents();
  });
  bool aborted = false;
  status.DoPreview(printing, recorder, aborted);
  EXPECT_TRUE(aborted);
  EXPECT_EQ(recorder.PageCount(), 3);
  EXPECT_EQ(status.StatusLabel->text(), "Page Number 2");
  EXPECT_EQ(labels, (std::vector<QString>{"Formating", "Page Number 1", "Page Number 1", "Page Number 2"}));
  EXPECT_FALSE(status.isVisible());
  EXPECT_FALSE(printing.OnPageEvent);
}

TEST_F(PreviewFormTest, PrintsTheChosenRangeOnTheChosenPrinter) {
  struct Case {
    bool range;
    int from, to;
    int pages;
  } cases[] = {{true, 2, 3, 2}, {false, 0, 0, 4}};
  for (const Case& c : cases) {
    Open(4);
    talmeko::testing::FakeSpooler spooler;
    std::vector<bool> toolbarDuringPrint;
    form->RunPrintDialog = [&](QPrintDialog& dialog) {
      EXPECT_EQ(dialog.maxPage(), 9999);
      EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
      dialog.setPrintRange(c.range ? QAbstractPrintDialog::PageRange : QAbstractPrintDialog::AllPages);
      if (c.range) dialog.setFromTo(c.from, c.to);
      return static_cast<int>(QDialog::Accepted);
    };
    form->SelectChosenPrinter = [&](const QPrinter&) { platform::SetCurrentPrinter(&spooler); };
    // A pump of this case only, replaced before the next case records.
    platform::SetMessagePump([&] {
      toolbarDuringPrint.push_back(form->ToolBarPanel->isEnabled());
      form->PrintBut->click();  // refused while the print runs
      QCoreApplication::processEvents();
    });
    form->PrintBut->click();
    platform::SetMessagePump([] { QCoreApplication::processEvents(); });
    platform::SetCurrentPrinter(&printer);
    const std::vector<std::string>& calls = spooler.Calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("StartPage", 0) == 0; }),
              c.pages);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("StartDoc", 0) == 0; }),
              1);
    EXPECT_EQ(spooler.OpenJobs(), 0);
    ASSERT_FALSE(toolbarDuringPrint.empty());
    EXPECT_EQ(std::count(toolbarDuringPrint.begin(), toolbarDuringPrint.end(), true), 0);
    EXPECT_TRUE(form->ToolBarPanel->isEnabled());
    EXPECT_FALSE(form->Printing());
  }
}

}  // namespace
}  // namespace talmeko::preview::ui
