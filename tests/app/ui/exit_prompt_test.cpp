#include "app/ui/welcome_window.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include "app/ui/web_label.h"
#include "main_window_fixture.h"

namespace talmeko::app::ui {
namespace {

using platform::ShowState;

constexpr const char* kSite = "http://talmeko.example";

class ExitPromptTest : public MainWindowTest {
 protected:
  // Closes the main window as its user would; `answer` runs once the prompt
  // is up and must end it. Whatever it does, the prompt gives up after a while.
  bool CloseAndAnswer(const std::function<void(TfWelcome&)>& answer) {
    TfWelcome& prompt = window->Welcome();
    QTimer::singleShot(0, &prompt, [&prompt, answer] {
      QTimer::singleShot(3000, &prompt, &QDialog::reject);
      answer(prompt);
    });
    return window->close();
  }

  template <typename T>
  static T* PromptChild(TfWelcome& prompt, const char* name) {
    T* child = prompt.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
};

TEST_F(ExitPromptTest, LinkLabelsHaveTheirPlacesTextsAndAddresses) {
  Start();
  const QString site = QString::fromLatin1(kSite);
  const struct {
    QWidget* parent;
    const char* name;
    QRect geometry;
    QString caption;
    QString hint;
    std::string address;
  } cases[] = {
      {window.get(), "wl_talmeko", {16, 413, 454, 16}, site + Utf8(" - Talmeko — таблица соответствия мулине"),
       Utf8("Перейти на сайт ") + site, std::string(kSite) + "/"},
      {window.get(), "sWebLabel1", {629, 415, 109, 14}, Utf8("Отзыв о программе"),
       Utf8("Оставить отзыв о программе на сайте ") + site, std::string(kSite) + "/forum/5-432"},
      {window.get(), "sWebLabel3", {480, 415, 114, 14}, Utf8("Доступно обновление"), QString(),
       std::string(kSite) + "/index/0-7/"},
      {&window->Welcome(), "sWebLabel2", {43, 15, 303, 18}, Utf8("Добро пожаловать на сайт ") + site,
       Utf8("Перейти на сайт ") + site, std::string(kSite) + "/"},
      {&window->Welcome(), "sWebLabel3", {67, 39, 254, 17}, Utf8("Будем рады увидеть ваши шедевры!"),
       Utf8("Перейти на сайт ") + site, std::string(kSite) + "/"},
  };
  for (const auto& c : cases) {
    auto* label = c.parent->findChild<TsWebLabel*>(QString::fromLatin1(c.name));
    ASSERT_NE(label, nullptr) << c.name;
    // The prompt's captions are centred; the main window's grow to the right.
    if (c.parent == window.get()) {
      EXPECT_EQ(label->x(), c.geometry.x()) << c.name;
    } else {
      EXPECT_NEAR(label->geometry().center().x(), c.geometry.center().x(), 1) << c.name;
    }
    EXPECT_EQ(label->y(), c.geometry.y()) << c.name;
    EXPECT_TRUE(c.parent->rect().contains(label->geometry())) << c.name << " leaves its window";
    EXPECT_EQ(label->height(), c.geometry.height()) << c.name;
    EXPECT_GE(label->width(), c.geometry.width()) << c.name;
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width()) << c.name << " is cut";
    EXPECT_EQ(label->text(), c.caption) << c.name;
    EXPECT_EQ(label->toolTip(), c.hint) << c.name;
    EXPECT_EQ(label->Address(), c.address) << c.name;
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor) << c.name;
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << c.name;
    EXPECT_TRUE(label->font().underline()) << c.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue)) << c.name;
  }
}

TEST_F(ExitPromptTest, HoverLooksFollowTheMouse) {
  Start();
  auto* site = Child<TsWebLabel>("wl_talmeko");
  EXPECT_EQ(site->font().pixelSize(), 13);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(site, &enter);
  EXPECT_NEAR(QFontMetrics(site->font()).height(), 16, 1) << "the hover font is given by its cell height";
  EXPECT_TRUE(site->font().bold());

  auto* update = Child<TsWebLabel>("sWebLabel3");
  QApplication::sendEvent(update, &enter);
  EXPECT_TRUE(update->font().bold());
  EXPECT_FALSE(update->font().underline());
  EXPECT_EQ(update->palette().color(QPalette::WindowText), QApplication::palette().color(QPalette::WindowText));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(update, &leave);
  EXPECT_FALSE(update->font().bold());
  EXPECT_TRUE(update->font().underline());
  EXPECT_EQ(update->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

TEST_F(ExitPromptTest, FeedbackLabelOpensItsPageOnThePress) {
  Start();
  Enter(QStringLiteral("310"));
  auto* feedback = Child<TsWebLabel>("sWebLabel1");
  QTest::mousePress(feedback, Qt::LeftButton);
  EXPECT_EQ(opener->opened, (std::vector<OpenedAddress>{
                                {"open", std::string(kSite) + "/forum/5-432", ShowState::SW_SHOWDEFAULT}}));
  QTest::mouseRelease(feedback, Qt::LeftButton);
  QTest::mousePress(feedback, Qt::RightButton);
  EXPECT_EQ(opener->opened.size(), 1u) << "the release and the right button open nothing";
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Items(), std::vector<QString>{QStringLiteral("310 (dmc)")});
  EXPECT_TRUE(Child<QLineEdit>("sEdit1")->hasFocus());
}

TEST_F(ExitPromptTest, UpdateLabelIsHiddenAndCannotBePressed) {
  Start();
  auto* update = Child<TsWebLabel>("sWebLabel3");
  EXPECT_FALSE(update->isVisible());
  QTest::mouseClick(window.get(), Qt::LeftButton, {}, update->geometry().center());
  EXPECT_TRUE(opener->opened.empty());
}

TEST_F(ExitPromptTest, PromptShowsOnCloseAndLaterOpensNothing) {
  Start();
  bool shown = false;
  EXPECT_TRUE(CloseAndAnswer([&](TfWelcome& prompt) {
    shown = prompt.isVisible() && prompt.isModal();
    EXPECT_EQ(prompt.size(), QSize(390, 113));
    EXPECT_TRUE(prompt.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(prompt.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(prompt.focusWidget(), PromptChild<QPushButton>(prompt, "btnTalmeko"));
    EXPECT_EQ(PromptChild<QPushButton>(prompt, "btnTalmeko")->geometry(), QRect(200, 72, 81, 25));
    EXPECT_EQ(PromptChild<QPushButton>(prompt, "btnClose")->text(), Utf8("Чуть позже :)"));
    EXPECT_TRUE(prompt.grab().toImage().save(OutputPath("exit_prompt.png")));
    QTest::mouseClick(PromptChild<QPushButton>(prompt, "btnClose"), Qt::LeftButton);
  }));
  EXPECT_TRUE(shown);
  EXPECT_TRUE(opener->opened.empty());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->Welcome().isVisible());
}

TEST_F(ExitPromptTest, EnterAtOnceOpensTheWebsiteRoot) {
  Start();
  EXPECT_TRUE(CloseAndAnswer([](TfWelcome& prompt) { QTest::keyClick(&prompt, Qt::Key_Return); }));
  EXPECT_EQ(opener->opened, (std::vector<OpenedAddress>{{"", kSite, ShowState::SW_SHOW}}));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ExitPromptTest, EscapeAndLinksLeaveThePromptUp) {
  Start();
  bool upAfterEscape = false;
  bool upAfterLink = false;
  EXPECT_TRUE(CloseAndAnswer([&](TfWelcome& prompt) {
    QTest::keyClick(&prompt, Qt::Key_Escape);
    upAfterEscape = prompt.isVisible();
    QTest::mousePress(PromptChild<TsWebLabel>(prompt, "sWebLabel2"), Qt::LeftButton);
    upAfterLink = prompt.isVisible();
    // The second button in the tab order is "Чуть позже :)"; Enter presses it.
    QTest::keyClick(&prompt, Qt::Key_Tab);
    QTest::keyClick(&prompt, Qt::Key_Return);
  }));
  EXPECT_TRUE(upAfterEscape);
  EXPECT_TRUE(upAfterLink);
  EXPECT_EQ(opener->opened,
            (std::vector<OpenedAddress>{{"open", std::string(kSite) + "/", ShowState::SW_SHOWDEFAULT}}));
}

TEST_F(ExitPromptTest, SpacePressesAndSystemCloseCancels) {
  Start();
  EXPECT_TRUE(CloseAndAnswer([](TfWelcome& prompt) { prompt.close(); }));
  EXPECT_TRUE(opener->opened.empty());
  Start();
  EXPECT_TRUE(CloseAndAnswer([](TfWelcome& prompt) {
    QTest::keyClick(PromptChild<QPushButton>(prompt, "btnTalmeko"), Qt::Key_Space);
  }));
  EXPECT_EQ(opener->opened, (std::vector<OpenedAddress>{{"", kSite, ShowState::SW_SHOW}}));
}

}  // namespace
}  // namespace talmeko::app::ui
