#include "app/ui/main_window.h"
#include "htmlview/ui/html_view_widget.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/texts.h"
#include "app/website.h"
#include "main_window_fixture.h"
#include "platform/qt/qt_text.h"

namespace talmeko::app::ui {
namespace {

namespace pq = platform::qt;

TEST_F(MainWindowTest, WindowHasFixedClientAreaAndCaption) {
  TfMain& w = Start();
  EXPECT_EQ(w.objectName(), QStringLiteral("TfMain"));
  EXPECT_EQ(w.size(), QSize(759, 448));
  EXPECT_EQ(w.minimumSize(), QSize(759, 448));
  EXPECT_EQ(w.maximumSize(), QSize(759, 448));
  EXPECT_EQ(w.windowTitle(), Utf8("Таблица перевода ниток мулине Talmeko"));
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(MainWindowTest, ControlsStartAtTheirPlacesAndStates) {
  Start();
  struct Expected {
    const char* name;
    QRect geometry;
  };
  for (const Expected& e : {Expected{"ComboBox1", {16, 24, 153, 22}}, Expected{"sEdit1", {16, 72, 121, 22}},
                            Expected{"Button1", {136, 72, 33, 22}}, Expected{"clbMoulineID", {16, 104, 153, 269}},
                            Expected{"sBitBtn1", {16, 372, 32, 32}}, Expected{"sBitBtn2", {48, 372, 32, 32}},
                            Expected{"btnClear", {137, 372, 32, 32}}, Expected{"btnPrintPreview", {193, 372, 32, 32}},
                            Expected{"HTMLView", {192, 24, 546, 348}}, Expected{"cbColorFind", {556, 378, 185, 19}},
                            Expected{"cbDMC", {322, 7, 52, 17}}, Expected{"cbGamma", {376, 7, 73, 17}},
                            Expected{"cbAnchor", {442, 7, 73, 17}}, Expected{"cbMadeira", {506, 7, 97, 17}},
                            Expected{"cbkirov", {573, 7, 113, 17}}}) {
    EXPECT_EQ(Child<QWidget>(e.name)->geometry(), e.geometry) << e.name;
  }
  EXPECT_EQ(Child<QLabel>("Label1")->pos(), QPoint(16, 8));
  EXPECT_EQ(Child<QLabel>("Label2")->pos(), QPoint(16, 56));
  EXPECT_EQ(Child<QLabel>("Label3")->pos(), QPoint(192, 8));
  EXPECT_EQ(Child<QLabel>("Label3")->text(), Utf8("Отображать палитры"));
  EXPECT_TRUE(Child<QLabel>("Label1")->font().bold());
  EXPECT_EQ(Child<QLabel>("Label1")->font().pixelSize(), 11);

  auto* chooser = Child<QComboBox>("ComboBox1");
  ASSERT_EQ(chooser->count(), 5);
  EXPECT_EQ(chooser->itemText(1), Utf8("Гамма"));
  EXPECT_EQ(chooser->itemText(4), Utf8("ПНК им. Кирова"));
  EXPECT_EQ(chooser->currentIndex(), 0);
  EXPECT_EQ(chooser->toolTip(), Utf8("Выберите палитру"));
  EXPECT_EQ(Child<QLineEdit>("sEdit1")->toolTip(), Utf8("Введите номер цвета"));
  EXPECT_EQ(Child<QPushButton>("Button1")->text(), Utf8("ОК"));
  EXPECT_EQ(Child<QToolButton>("btnPrintPreview")->toolTip(), Utf8("Предпросмотр печати"));

  EXPECT_FALSE(Child<QToolButton>("btnClear")->isEnabled());
  EXPECT_FALSE(Child<QToolButton>("btnPrintPreview")->isEnabled());
  EXPECT_TRUE(Child<QToolButton>("sBitBtn1")->isEnabled());
  EXPECT_FALSE(Child<QToolButton>("sBitBtn1")->icon().isNull());
  EXPECT_TRUE(Child<QCheckBox>("cbDMC")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>("cbDMC")->isEnabled());
  EXPECT_TRUE(Child<QCheckBox>("cbGamma")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>("cbAnchor")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>("cbColorFind")->isChecked());
  EXPECT_FALSE(Child<QLabel>("sWebLabel3")->isVisible());
  EXPECT_TRUE(Child<QLineEdit>("sEdit1")->hasFocus());
}

TEST_F(MainWindowTest, EnterAddsTheColourAndLoadsItsPage) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  EXPECT_EQ(Items(), std::vector<QString>{QStringLiteral("310 (dmc)")});
  EXPECT_NE(w.LoadedPage().find("<td>310</td>"), std::string::npos) << w.LoadedPage();
  EXPECT_NE(w.LoadedPage().find("<td>420</td>"), std::string::npos) << w.LoadedPage();
  EXPECT_EQ(w.LoadedPage().find("<td>310</td>"), w.LoadedPage().rfind("<td>310</td>"));
  EXPECT_TRUE(Child<QLineEdit>("sEdit1")->text().isEmpty());
  EXPECT_TRUE(Child<QToolButton>("btnClear")->isEnabled());
  EXPECT_TRUE(Child<QToolButton>("btnPrintPreview")->isEnabled());
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, ButtonAddsLikeEnter) {
  TfMain& w = Start();
  QTest::keyClicks(Child<QLineEdit>("sEdit1"), QStringLiteral("310"));
  QTest::mouseClick(Child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(Items(), std::vector<QString>{QStringLiteral("310 (dmc)")});
  EXPECT_NE(w.LoadedPage().find("<td>310</td>"), std::string::npos);
}

TEST_F(MainWindowTest, PaletteChosenAtEntryFormsTheItem) {
  Start();
  Enter(QStringLiteral("310"), 0);
  Enter(QStringLiteral("310"), 2);
  EXPECT_EQ(Items(), (std::vector<QString>{QStringLiteral("310 (dmc)"), QStringLiteral("310 (anchor)")}));
}

TEST_F(MainWindowTest, DuplicateIsRefusedWithItsMessage) {
  Start();
  Enter(QStringLiteral("310"));
  Enter(QStringLiteral("310"));
  EXPECT_EQ(messages, std::vector<std::string>{texts::Duplicate()});
  EXPECT_EQ(Items().size(), 1u);
  EXPECT_TRUE(Child<QLineEdit>("sEdit1")->text().isEmpty());
}

TEST_F(MainWindowTest, UnknownNumberShowsNotFoundAndLeavesPage) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  const std::string before = w.LoadedPage();
  Enter(QStringLiteral("987654"));
  EXPECT_EQ(messages, std::vector<std::string>{texts::NotInPalette()});
  EXPECT_EQ(Items(), std::vector<QString>{QStringLiteral("310 (dmc)")});
  EXPECT_EQ(w.LoadedPage(), before);
}

TEST_F(MainWindowTest, ClearingAnsweredNoKeepsEverything) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  const std::string before = w.LoadedPage();
  confirmAnswer = false;
  QTest::mouseClick(Child<QToolButton>("btnClear"), Qt::LeftButton);
  EXPECT_EQ(confirmations, std::vector<std::string>{texts::ConfirmClear()});
  EXPECT_EQ(Items().size(), 1u);
  EXPECT_EQ(w.LoadedPage(), before);
  EXPECT_TRUE(Child<QToolButton>("btnClear")->isEnabled());
}

TEST_F(MainWindowTest, ClearingAnsweredYesEmptiesListAndPage) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  Enter(QStringLiteral("321"));
  confirmAnswer = true;
  QTest::mouseClick(Child<QToolButton>("btnClear"), Qt::LeftButton);
  EXPECT_EQ(confirmations.size(), 1u);
  EXPECT_TRUE(Items().empty());
  EXPECT_TRUE(w.LoadedPage().empty());
  EXPECT_FALSE(Child<QToolButton>("btnClear")->isEnabled());
  EXPECT_FALSE(Child<QToolButton>("btnPrintPreview")->isEnabled());
}

TEST_F(MainWindowTest, DoubleClickRemovesTheSelectedColour) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  Enter(QStringLiteral("321"));
  auto* list = Child<QListWidget>("clbMoulineID");
  const QPoint first = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
  EXPECT_EQ(Items(), std::vector<QString>{QStringLiteral("321 (dmc)")});
  EXPECT_EQ(w.LoadedPage().find("<td>310</td>"), std::string::npos);
  EXPECT_NE(w.LoadedPage().find("<td>321</td>"), std::string::npos);

  const QPoint only = list->visualItemRect(list->item(0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, only);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, only);
  EXPECT_TRUE(Items().empty());
  EXPECT_TRUE(w.LoadedPage().empty());
  EXPECT_FALSE(Child<QToolButton>("btnPrintPreview")->isEnabled());
}

TEST_F(MainWindowTest, FirstStartWritesTheSettingsFile) {
  Start();
  EXPECT_EQ(Settings(), "[palette]\r\ngamma=1\r\nanchor=0\r\nmadeira=0\r\nkirov=0\r\n");
}

TEST_F(MainWindowTest, ColumnSwitchClickRebuildsPageAndWritesSettings) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  ASSERT_EQ(w.LoadedPage().find("<td>Anchor</td>"), std::string::npos);
  QTest::mouseClick(Child<QCheckBox>("cbAnchor"), Qt::LeftButton);
  EXPECT_TRUE(Child<QCheckBox>("cbAnchor")->isChecked());
  EXPECT_NE(w.LoadedPage().find("<td>Anchor</td>"), std::string::npos) << w.LoadedPage();
  EXPECT_EQ(Settings(), "[palette]\r\ngamma=1\r\nanchor=1\r\nmadeira=0\r\nkirov=0\r\n");

  QTest::mouseClick(Child<QCheckBox>("cbGamma"), Qt::LeftButton);
  EXPECT_EQ(w.LoadedPage().find(pq::ToCp1251(Utf8("<td>Гамма</td>"))), std::string::npos);
  EXPECT_EQ(Settings(), "[palette]\r\ngamma=0\r\nanchor=1\r\nmadeira=0\r\nkirov=0\r\n");
}

TEST_F(MainWindowTest, StoredSwitchesAreReadAtStart) {
  std::ofstream(dir / "talmeko.ini", std::ios::binary) << "[palette]\r\ngamma=0\r\nkirov=1\r\n";
  Start();
  EXPECT_FALSE(Child<QCheckBox>("cbGamma")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>("cbkirov")->isChecked());
  EXPECT_EQ(Settings(), "[palette]\r\ngamma=0\r\nkirov=1\r\nanchor=0\r\nmadeira=0\r\n");
}

TEST_F(MainWindowTest, ChangingASwitchInCodeRunsNoHandler) {
  Start();
  const std::string before = Settings();
  Child<QCheckBox>("cbMadeira")->setChecked(true);
  EXPECT_EQ(Settings(), before);
}

TEST_F(MainWindowTest, ChooserIgnoresTypedLetters) {
  Start();
  auto* chooser = Child<QComboBox>("ComboBox1");
  QTest::keyClick(chooser, Qt::Key_M, Qt::NoModifier);
  QTest::keyClicks(chooser, QStringLiteral("Anchor"));
  EXPECT_EQ(chooser->currentIndex(), 0);
  QTest::keyClick(chooser, Qt::Key_Down);
  EXPECT_EQ(chooser->currentIndex(), 1);
}

TEST_F(MainWindowTest, UserChoiceOfPaletteMarksChangeAndFocusesEntry) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  EXPECT_FALSE(w.Logic().PaletteChanged());
  auto* chooser = Child<QComboBox>("ComboBox1");
  chooser->setFocus();
  ASSERT_FALSE(Child<QLineEdit>("sEdit1")->hasFocus());
  QTest::keyClick(chooser, Qt::Key_Down);
  EXPECT_TRUE(w.Logic().PaletteChanged());
  EXPECT_TRUE(Child<QLineEdit>("sEdit1")->hasFocus());
}

TEST_F(MainWindowTest, ColourSetSavedAndLoadedThroughTheButtons) {
  TfMain& w = Start();
  const std::string file = (dir / "set.talmeko").string();
  std::vector<std::string> filters;
  const auto choose = [&](std::string_view description, std::string_view pattern) {
    filters.push_back(std::string(description) + "|" + std::string(pattern));
    return std::optional<std::string>(file);
  };
  w.SetSaveFileHook(choose);
  w.SetOpenFileHook(choose);
  Enter(QStringLiteral("310"));
  Enter(QStringLiteral("321"));
  QTest::mouseClick(Child<QToolButton>("sBitBtn2"), Qt::LeftButton);
  ASSERT_TRUE(std::filesystem::exists(file));
  confirmAnswer = true;
  QTest::mouseClick(Child<QToolButton>("btnClear"), Qt::LeftButton);
  ASSERT_TRUE(Items().empty());
  QTest::mouseClick(Child<QToolButton>("sBitBtn1"), Qt::LeftButton);
  EXPECT_EQ(Items(), (std::vector<QString>{QStringLiteral("310 (dmc)"), QStringLiteral("321 (dmc)")}));
  EXPECT_NE(w.LoadedPage().find("<td>321</td>"), std::string::npos);
  const std::string expected = texts::ColourSetFilterPrefix() + WebsiteAddress() + "|*.talmeko";
  EXPECT_EQ(filters, (std::vector<std::string>{expected, expected}));
  EXPECT_EQ(TfMain::FileFilter(texts::ColourSetFilterPrefix() + WebsiteAddress(), "*.talmeko"),
            Utf8("Набор цветов для http://talmeko.example (*.talmeko)"));
}

TEST_F(MainWindowTest, GrabWithThreeColours) {
  TfMain& w = Start();
  Enter(QStringLiteral("310"));
  Enter(QStringLiteral("321"), 0);
  Enter(QStringLiteral("1"), 2);
  EXPECT_EQ(Items().size(), 3u);
  // The view shows the table: a header row and a row per colour.
  auto* view = Child<htmlview::ui::THtmlViewWidget>("HTMLView");
  ASSERT_NE(view->DocumentView(), nullptr);
  ASSERT_TRUE(view->DocumentView()->HasContent());
  const auto* body = view->Engine().Document().Body();
  ASSERT_NE(body, nullptr);
  ASSERT_EQ(body->Content.Count(), 1u);
  ASSERT_EQ(body->Content[0].Kind(), htmlview::TSectionKind::TableBlock);
  EXPECT_EQ(static_cast<const htmlview::TTableBlock&>(body->Content[0]).Table.Rows.size(), 4u);
  const QImage image = w.grab().toImage();
  EXPECT_EQ(image.size(), QSize(759, 448) * image.devicePixelRatio());
  EXPECT_TRUE(image.save(OutputPath("main_window.png")));
}

}  // namespace
}  // namespace talmeko::app::ui
