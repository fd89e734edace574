#include "platform/qt/qt_window_services.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_wait_cursor.h"
#include "support/qt_application.h"

namespace talmeko::platform::qt {
namespace {

TEST(ApplicationTitle, KeepsTheFirstCharacterAndLowersTheRest) {
  struct Case {
    const char* path;
    const char* title;
  };
  for (const Case c : {Case{"/usr/bin/talmeko", "talmeko"}, Case{"/opt/TALMEKO.bin", "Talmeko"},
                       Case{"C:/Programs/MyApp.EXE", "Myapp"}, Case{"/x/a.B.exe", "a.b"}, Case{"relative/Q", "Q"},
                       Case{"/dir/", ""}}) {
    EXPECT_EQ(ApplicationTitle(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
  }
}

TEST(MessageBox, HasTheTitleOneOkButtonAndNoIcon) {
  talmeko::testing::TestApplication();
  auto box = MakeMessageBox(nullptr, "\xD2\xE0\xEA\xEE\xE3\xEE");  // Такого
  EXPECT_EQ(box->windowTitle(), ApplicationTitle());
  EXPECT_EQ(box->text(), QString::fromUtf8("Такого"));
  EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
  ASSERT_EQ(box->buttons().size(), 1);
  EXPECT_EQ(box->buttons().front()->text(), QStringLiteral("OK"));
}

TEST(Confirmation, AsksWithYesAsDefaultAndNoOnEscape) {
  talmeko::testing::TestApplication();
  auto box = MakeConfirmation(nullptr, "?");
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Confirm"));
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  ASSERT_EQ(box->buttons().size(), 2);
  ASSERT_NE(box->defaultButton(), nullptr);
  EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&Yes"));
  ASSERT_NE(box->escapeButton(), nullptr);
  EXPECT_EQ(box->escapeButton()->text(), QStringLiteral("&No"));
}

bool AnswerWith(int key) {
  QTimer::singleShot(50, [key] {
    QWidget* box = QApplication::activeModalWidget();
    if (box) QTest::keyClick(box, static_cast<Qt::Key>(key));
  });
  return Confirm(nullptr, "?");
}

TEST(Confirmation, EscapeAnswersNoAndEnterYes) {
  talmeko::testing::TestApplication();
  EXPECT_FALSE(AnswerWith(Qt::Key_Escape));
  EXPECT_TRUE(AnswerWith(Qt::Key_Return));
}

TEST(WaitCursorGuard, SetsAndRestoresTheApplicationCursor) {
  talmeko::testing::TestApplication();
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  {
    WaitCursorGuard outer;
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace talmeko::platform::qt
