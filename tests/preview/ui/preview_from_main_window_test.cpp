#include "app/ui/main_window.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "platform/qt/qt_text.h"
#include "preview/ui/preview_form.h"
#include "preview_test_support.h"
#include "platform/qt/qt_printer_spooler.h"
#include "support/printed_pdf.h"

namespace talmeko::preview::ui {
namespace {

const catalogue::Tables& ShippedTables() {
  static const catalogue::Tables tables = catalogue::LoadTables();
  return tables;
}

bool IsPrintDialog(QWidget& modal) { return qobject_cast<QPrintDialog*>(&modal) != nullptr; }

struct PageRange {
  int from;
  int to;
};

// Answers Qt's own print dialog as a user does: it must have opened on the
// built-in PDF printer with the file expected; the output file and the page
// range, if any, are typed into its fields, then its OK button is pressed.
void AnswerPrintDialog(QWidget& dialog, const std::filesystem::path& expectedFile, const std::filesystem::path& output,
                       std::optional<PageRange> range) {
  auto* file = dialog.findChild<QLineEdit*>("filename");
  auto* all = dialog.findChild<QRadioButton*>("printAll");
  auto* someOnly = dialog.findChild<QRadioButton*>("printRange");
  auto* fromBox = dialog.findChild<QSpinBox*>("from");
  auto* toBox = dialog.findChild<QSpinBox*>("to");
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_TRUE(file && all && someOnly && fromBox && toBox && buttons);
  EXPECT_EQ(file->text().toStdString(), expectedFile.string());
  EXPECT_EQ(toBox->maximum(), 9999);
  file->selectAll();
  QTest::keyClicks(file, QString::fromStdString(output.string()));
  if (range) {
    someOnly->click();
    for (auto [box, value] : {std::pair{toBox, range->to}, std::pair{fromBox, range->from}}) {
      box->selectAll();
      QTest::keyClicks(box, QString::number(value));
      QTest::keyClick(box, Qt::Key_Tab);
    }
  } else {
    all->click();
  }
  buttons->button(QDialogButtonBox::Ok)->click();
}

constexpr int kColours = 40;

class PreviewFromMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    talmeko::testing::TestApplication();
    dir = std::filesystem::temp_directory_path() / ("talmeko-preview-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    window = std::make_unique<app::ui::TfMain>(
        app::MainWindowOptions{dir.string() + "/", [] { return ShippedTables(); }});
    spooler.SelectPrinter(platform::qt::QtPrinterSpooler::kPdfPrinterName);
    spooler.SetPdfOutputFile(Pdf().string());
    window->SetMessageHook([this](std::string_view text) { messages.emplace_back(text); });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override {
    window.reset();
    std::filesystem::remove_all(dir);
  }

  void EnterDmcColours(int count) {
    auto* entry = window->findChild<QLineEdit*>("sEdit1");
    auto* list = window->findChild<QListWidget*>("clbMoulineID");
    // Palette numbers without an equivalent are refused; the next one is taken.
    for (const catalogue::Palette& p : ShippedTables().PaletteTable()) {
      if (p.Brand != "dmc" || list->count() == count) continue;
      QTest::keyClicks(entry, platform::qt::FromCp1251(p.Number));
      QTest::keyClick(entry, Qt::Key_Return);
    }
    ASSERT_EQ(list->count(), count);
    messages.clear();
  }

  QToolButton* PreviewButton() const { return window->findChild<QToolButton*>("btnPrintPreview"); }

  QApplication& app = talmeko::testing::TestApplication();  // before any widget
  std::filesystem::path Pdf() const { return dir / "printed.pdf"; }

  platform::qt::QtPrinterSpooler spooler;
  talmeko::testing::CurrentPrinterScope printerScope{&spooler};
  testing::QtPumpScope pump;
  std::filesystem::path dir;
  std::unique_ptr<app::ui::TfMain> window;
  std::vector<std::string> messages;
};

// Forty colours make two A4 pages on the built-in PDF printer. Both are
// printed through Qt's own print dialog into a file typed there; then pages
// 2 to 3, which is page 2 alone, into the first file again: it holds just
// what the whole print has on its second page.
TEST_F(PreviewFromMainWindowTest, FortyColoursPagedThroughAndPrintedWholeAndFromPageTwo) {
  EnterDmcColours(40);
  const std::filesystem::path whole = dir / "whole.pdf";
  int pages = 0;
  int visited = 0;
  bool maximised = false;
  testing::AnswerModal([&](QWidget& modal) {
    auto* form = qobject_cast<TPreviewForm*>(&modal);
    ASSERT_NE(form, nullptr);
    maximised = form->isMaximized();
    pages = form->Recorder()->PageCount();
    for (visited = 1; form->NextPageBut->isEnabled(); ++visited) form->NextPageBut->click();
    testing::AnswerModal([&](QWidget& dialog) { AnswerPrintDialog(dialog, Pdf(), whole, std::nullopt); },
                         IsPrintDialog);
    form->PrintBut->click();
    testing::AnswerModal([&](QWidget& dialog) { AnswerPrintDialog(dialog, whole, Pdf(), PageRange{2, 3}); },
                         IsPrintDialog);
    form->PrintBut->click();
    form->CloseBut->click();
  });
  PreviewButton()->click();
  EXPECT_TRUE(maximised);
  ASSERT_EQ(pages, 2);
  EXPECT_EQ(visited, pages);
  EXPECT_EQ(talmeko::testing::ReadPdfInfo(whole).pages, 2);
  EXPECT_EQ(talmeko::testing::ReadPdfInfo(Pdf()).pages, 1);
  const std::string secondPage = talmeko::testing::PdfText(whole, 2);
  EXPECT_NE(secondPage.find_first_of("0123456789"), std::string::npos);
  EXPECT_EQ(talmeko::testing::PdfText(Pdf(), 1), secondPage);
  EXPECT_EQ(window->findChild<TPreviewForm*>(), nullptr);
  EXPECT_TRUE(messages.empty());
}

// Not a comparison: the result page as the PDF printer lays it out, at
// "Fit To Page", two pages, and "200%" with the grid in centimetres, written
// out to be looked at; their geometry is checked.
TEST_F(PreviewFromMainWindowTest, GrabsOfFitToPageTwoPagesAndTwoHundredPercentWithCentimetres) {
  EnterDmcColours(40);
  const QString out = QString(TALMEKO_TEST_OUTPUT) + "/";
  testing::AnswerModal([&](QWidget& modal) {
    auto* form = qobject_cast<TPreviewForm*>(&modal);
    ASSERT_NE(form, nullptr);
    form->showNormal();
    form->resize(997, 545);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->FitPageBut->isChecked());
    EXPECT_TRUE(form->grab().save(out + "preview_fit_page.png"));
    form->TwoPageBut->click();
    EXPECT_TRUE(form->PagePanel2->isVisible());
    EXPECT_TRUE(form->grab().save(out + "preview_fit_two_pages.png"));
    form->ZoomBox->setCurrentIndex(form->ZoomBox->findText("200%"));
    emit form->ZoomBox->activated(form->ZoomBox->currentIndex());
    form->GridBut->click();
    form->UnitsBox->setCurrentIndex(1);
    emit form->UnitsBox->activated(1);
    const ThtPrinter& sheet = *form->Recorder();
    EXPECT_EQ(sheet.LogPixelsX(), 600);
    EXPECT_NEAR(sheet.PhysicalWidth(), 4960, 3);  // A4 is 210 mm wide
    EXPECT_NEAR(form->PagePanel->width(), 2 * 96 * sheet.PhysicalWidth() / 600, 1);  // twice the screen's 96 dpi
    EXPECT_TRUE(form->grab().save(out + "preview_200_centimetres.png"));
    form->CloseBut->click();
  });
  PreviewButton()->click();
  EXPECT_TRUE(messages.empty());
}

TEST_F(PreviewFromMainWindowTest, RecordingErrorIsToldAndCancelShowsNoWindow) {
  EnterDmcColours(3);
  platform::SetCurrentPrinter(nullptr);
  PreviewButton()->click();
  EXPECT_EQ(messages, std::vector<std::string>{"Printer not available"});
  platform::SetCurrentPrinter(&spooler);
  // Cancel as soon as the dialog shows: the preview is never shown.
  bool shown = false;
  platform::SetMessagePump([&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == "PrnStatusForm" && w->isVisible()) {
        QMetaObject::invokeMethod(w->findChild<QPushButton*>("CancelButton"), &QPushButton::click, Qt::QueuedConnection);
      }
      if (qobject_cast<TPreviewForm*>(w) != nullptr && w->isVisible()) shown = true;
    }
    QCoreApplication::processEvents();
  });
  PreviewButton()->click();
  EXPECT_FALSE(shown);
  EXPECT_EQ(window->findChild<TPreviewForm*>(), nullptr);
  EXPECT_EQ(messages.size(), 1U);
}

}  // namespace
}  // namespace talmeko::preview::ui
