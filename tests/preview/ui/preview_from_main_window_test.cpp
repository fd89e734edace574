#include "app/ui/main_window.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <memory>
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

// Eighty colours make three A4 pages on the built-in PDF printer. The print
// dialog opens on that printer, and pages 2 and 3 come out as a PDF of two pages.
TEST_F(PreviewFromMainWindowTest, EightyColoursPagedThroughAndPagesTwoToThreePrinted) {
  EnterDmcColours(80);
  int pages = 0;
  int visited = 0;
  bool maximised = false;
  testing::AnswerModal([&](QWidget& modal) {
    auto* form = qobject_cast<TPreviewForm*>(&modal);
    ASSERT_NE(form, nullptr);
    maximised = form->isMaximized();
    pages = form->Recorder()->PageCount();
    for (visited = 1; form->NextPageBut->isEnabled(); ++visited) form->NextPageBut->click();
    form->RunPrintDialog = [](QPrintDialog& dialog) {
      dialog.setPrintRange(QAbstractPrintDialog::PageRange);
      dialog.setFromTo(2, 3);
      return static_cast<int>(QDialog::Accepted);
    };
    form->PrintBut->click();
    form->CloseBut->click();
  });
  PreviewButton()->click();
  EXPECT_TRUE(maximised);
  ASSERT_GE(pages, 3);
  EXPECT_EQ(visited, pages);
  EXPECT_EQ(talmeko::testing::ReadPdfInfo(Pdf()).pages, 2);
  EXPECT_EQ(window->findChild<TPreviewForm*>(), nullptr);
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
