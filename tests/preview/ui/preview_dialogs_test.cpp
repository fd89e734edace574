#include "preview/ui/go_page_form.h"
#include "preview/ui/preview_form.h"
#include "preview/ui/spin_edit.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <QElapsedTimer>

#include <algorithm>
#include <memory>
#include <vector>

#include "preview_test_support.h"

namespace talmeko::preview::ui {
namespace {

class PageNumberDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    talmeko::testing::TestApplication();
    testing::LoadPages(view, 5);
    bool aborted = true;
    form = std::make_unique<TPreviewForm>(nullptr, view, aborted);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  // Opens the dialog from the status bar, lets `answer` work on it, and
  // returns the page shown afterwards (1-based).
  int GoTo(const std::function<void(TGoPageForm&)>& answer) {
    testing::AnswerModal([&](QWidget& modal) {
      auto* dialog = qobject_cast<TGoPageForm*>(&modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_TRUE(dialog->PageNum->hasFocus());
      EXPECT_EQ(dialog->PageNum->findChild<QLineEdit*>()->selectedText(), dialog->PageNum->text());
      answer(*dialog);
    });
    form->PageNumSpeed->click();
    return form->CurPage() + 1;
  }

  QApplication& app = talmeko::testing::TestApplication();  // before any widget
  testing::A4Printer printer;
  talmeko::testing::CurrentPrinterScope printerScope{&printer};
  htmlview::ui::THtmlViewWidget view;
  std::unique_ptr<TPreviewForm> form;
};

TEST_F(PageNumberDialogTest, TypedNumbersAreHeldToThePages) {
  struct Case {
    const char* typed;
    int page;
  } cases[] = {{"3", 3}, {"9", 5}, {"0", 1}, {"-4", 1}, {"", 1}, {"2x", 2}, {"+", 1}};
  for (const Case& c : cases) {
    const int page = GoTo([&](TGoPageForm& dialog) {
      QTest::keyClick(dialog.PageNum, Qt::Key_Delete);
      QTest::keyClicks(dialog.PageNum, c.typed);
      QTest::keyClick(dialog.PageNum, Qt::Key_Return);
    });
    EXPECT_EQ(page, c.page) << c.typed;
    EXPECT_EQ(form->CurPageLabel->text(), QString("Page %1 of 5").arg(c.page));
  }
}

TEST_F(PageNumberDialogTest, ArrowsStepWithinThePagesAndCancelKeepsThePage) {
  struct Case {
    int startPage;
    Qt::Key key;
    int presses;
    int page;
  } cases[] = {{2, Qt::Key_Up, 2, 4}, {4, Qt::Key_Up, 3, 5}, {3, Qt::Key_Down, 5, 1}};
  for (const Case& c : cases) {
    form->FirstPageSpeed->click();
    for (int i = 1; i < c.startPage; ++i) form->NextPageBut->click();
    const int page = GoTo([&](TGoPageForm& dialog) {
      EXPECT_EQ(dialog.PageNum->text(), QString::number(c.startPage));
      for (int i = 0; i < c.presses; ++i) QTest::keyClick(dialog.PageNum, c.key);
      dialog.OKBtn->click();
    });
    EXPECT_EQ(page, c.page);
  }
  EXPECT_EQ(GoTo([](TGoPageForm& dialog) {
              QTest::keyClicks(dialog.PageNum, "4");
              QTest::keyClick(&dialog, Qt::Key_Escape);
            }),
            1);
}

TEST(SpinEdit, RejectsOtherCharactersAndClampsOnLeavingTheField) {
  talmeko::testing::TestApplication();
  QWidget window;
  auto* field = new TSpinEdit(&window);
  auto* other = new QLineEdit(&window);
  field->SetMinValue(1);
  field->SetMaxValue(5);
  field->SetValue(7);
  EXPECT_EQ(field->text(), "5");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  field->setFocus();
  field->findChild<QLineEdit*>()->clear();
  QTest::keyClicks(field, "1a,b-");
  EXPECT_EQ(field->text(), QString("1") + (QLocale().decimalPoint() == "," ? "," : "") + "-");
  field->findChild<QLineEdit*>()->setText("12");
  EXPECT_EQ(field->Value(), 5);
  other->setFocus();
  EXPECT_EQ(field->text(), "5");
  field->SetMaxValue(1);  // equal bounds: no bound at all
  field->SetValue(40);
  EXPECT_EQ(field->Value(), 40);
  field->setReadOnly(true);
  field->stepBy(1);
  EXPECT_EQ(field->Value(), 40);
}

// Holding the up button steps at once, again after 400 ms, then every 100 ms.
// Timers never fire early (Qt's coarse ones by at most 5%), so the lower
// bounds hold however busy the machine; the upper ones tell these times from
// Qt's own 500 and 150 ms, on the best of three holds, so that one late
// timer on a busy machine does not fail the test.
TEST(SpinEdit, HeldButtonRepeatsAfter400MsThenEvery100Ms) {
  talmeko::testing::TestApplication();
  QWidget window;
  auto* field = new TSpinEdit(&window);
  field->resize(80, 24);
  field->SetMinValue(1);
  field->SetMaxValue(1000);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QElapsedTimer clock;
  std::vector<qint64> steps;
  QObject::connect(field->findChild<QLineEdit*>(), &QLineEdit::textChanged, [&] { steps.push_back(clock.elapsed()); });
  qint64 firstRepeat = 1000;
  std::vector<qint64> intervals;
  for (int hold = 0; hold < 3; ++hold) {
    field->SetValue(1);
    steps.clear();
    const QPoint upButton(field->width() - 4, field->height() / 4);
    clock.start();
    QTest::mousePress(field, Qt::LeftButton, Qt::NoModifier, upButton);
    QTest::qWait(800);
    QTest::mouseRelease(field, Qt::LeftButton, Qt::NoModifier, upButton);
    ASSERT_GE(steps.size(), 3U) << "hold " << hold;
    EXPECT_LT(steps[0], 100) << "the press itself steps";
    EXPECT_GE(steps[1], 380);
    firstRepeat = std::min(firstRepeat, steps[1]);
    // The repeat timer keeps to its schedule, so one step handled late makes
    // the next gap short: the lower bound holds from the press on.
    const auto repeats = static_cast<qint64>(steps.size() - 2);
    EXPECT_GE(steps.back(), 380 + repeats * 95);
    for (std::size_t i = 2; i < steps.size(); ++i) intervals.push_back(steps[i] - steps[i - 1]);
    EXPECT_EQ(field->Value(), static_cast<int>(steps.size()) + 1);
  }
  EXPECT_LT(firstRepeat, 460);
  std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
  EXPECT_LT(intervals[intervals.size() / 2], 140);
}

}  // namespace
}  // namespace talmeko::preview::ui
