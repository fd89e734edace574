#include "platform/qt/qt_printer_spooler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "preview/vw_printer.h"
#include "support/printed_pdf.h"
#include "support/qt_application.h"

namespace talmeko::platform::qt {
namespace {

using testing::PdfInfo;
using testing::ReadPdfInfo;

// 40 characters; the spooler's job name keeps the first 31.
constexpr char16_t kLongTitle[] = u"Floss conversion: DMC Gamma Anchor Kirov";
constexpr char kTitle31[] = "Floss conversion: DMC Gamma Anc";
static_assert(sizeof(kLongTitle) / sizeof(char16_t) == 41 && sizeof(kTitle31) == 32);

constexpr double kA4WidthPt = 595.28;
constexpr double kA4HeightPt = 841.89;

// Draws the pages the way the paginator does: logical units of 1/96 inch
// mapped onto the printer's pixels, text and filled rectangles on each page.
void PrintSamplePages(preview::ThtPrinter& printer, int pages) {
  printer.Title = kLongTitle;
  printer.StartDocument();
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) printer.StartNextPage();
    Canvas& canvas = *printer.PageCanvas();
    canvas.SetMapping({true, {0, 0}, {96, 96}, {0, 0}, {printer.LogPixelsX(), printer.LogPixelsY()}});
    canvas.SelectFont({"Arial", 16});
    canvas.DrawText(96, 96, u"DMC 310 Gamma 0001 page " + std::u16string(1, u'0' + page), Rgb(0, 0, 0));
    canvas.FillRect({96, 140, 296, 240}, Rgb(200, 30, 30));
    canvas.FillRect({320, 140, 520, 240}, Rgb(30, 160, 60));
    canvas.DrawText(96, 260, u"Мулине Анкор 403", Rgb(0, 0, 160));
  }
  printer.FinishDocument();
}

class QtPrinterSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cups_ = &testing::UsePrivateCups();
    testing::TestApplication();
  }
  const testing::PrivateCups* cups_ = nullptr;
};

TEST_F(QtPrinterSpoolerTest, PrintsToACupsQueue) {
  if (!cups_->skipReason.empty()) GTEST_SKIP() << cups_->skipReason;
  QtPrinterSpooler spooler;
  ASSERT_EQ(spooler.SelectedName(), cups_->queue) << "the scheduler's default printer is the current one";
  EXPECT_EQ(spooler.InstalledPrinters(), (std::vector<std::string>{cups_->queue, "PDF"}));
  const int lastJob = testing::LastJobId(cups_->queue);
  {
    preview::TvwPrinter printer(&spooler);
    PrintSamplePages(printer, 3);
    EXPECT_GT(printer.LogPixelsX(), 0);
    EXPECT_GT(printer.PrintableWidth(), 0);
    EXPECT_LE(printer.PhysicalOffsetX() + printer.PrintableWidth(), printer.PhysicalWidth());
  }
  // The job must arrive under the title's first 31 characters.
  const auto job = testing::WaitForPrintedPdf(*cups_, lastJob, kTitle31);
  ASSERT_TRUE(job.has_value()) << "no PDF titled '" << kTitle31 << "' from the cups-pdf queue within a minute; see "
                               << cups_->dir << "/log";
  const PdfInfo info = ReadPdfInfo(job->pdf);
  EXPECT_EQ(info.pages, 3);
  EXPECT_NEAR(info.widthPt, kA4WidthPt, 1.0);
  EXPECT_NEAR(info.heightPt, kA4HeightPt, 1.0);
  EXPECT_NE(info.title.find(kTitle31), std::string::npos) << info.title;
  EXPECT_EQ(info.title.find("Kirov"), std::string::npos) << info.title;
}

TEST_F(QtPrinterSpoolerTest, PdfPrinterWritesItsFileAndAbortWritesNothing) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "talmeko_pdf_printer";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  QtPrinterSpooler spooler;
  ASSERT_TRUE(spooler.SelectPrinter("PDF"));
  EXPECT_FALSE(spooler.SelectPrinter("no such printer"));
  EXPECT_EQ(spooler.SelectedName(), "PDF");

  spooler.SetPdfOutputFile((folder / "aborted.pdf").string());
  {
    preview::TvwPrinter printer(&spooler);
    printer.StartDocument();
    printer.PageCanvas()->FillRect({0, 0, 100, 100}, Rgb(0, 0, 255));
    printer.StartNextPage();
    printer.AbortDocument();
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "aborted.pdf"));

  // An abort procedure that answers false between pages cancels the job there.
  const PrinterHandle dc = spooler.CreateDC(spooler.Selected());
  spooler.SetAbortProc(dc, [](PrinterHandle, int) { return false; });
  EXPECT_EQ(spooler.StartDoc(dc, {}), 1);
  EXPECT_EQ(spooler.EndPage(dc), -1);
  EXPECT_EQ(spooler.EndDoc(dc), -1);
  spooler.DeleteDC(dc);
  EXPECT_FALSE(std::filesystem::exists(folder / "aborted.pdf"));

  const std::filesystem::path pdf = folder / "printed.pdf";
  spooler.SetPdfOutputFile(pdf.string());
  preview::TvwPrinter printer(&spooler);
  PrintSamplePages(printer, 2);
  // A4 (210 x 297 mm, which Qt keeps in whole points) at 600 dpi, printable to the edge.
  EXPECT_EQ(printer.LogPixelsX(), 600);
  EXPECT_EQ(printer.LogPixelsY(), 600);
  EXPECT_NEAR(printer.PhysicalWidth(), 4961, 4);
  EXPECT_NEAR(printer.PhysicalHeight(), 7016, 4);
  EXPECT_EQ(printer.PhysicalOffsetX(), 0);
  EXPECT_EQ(printer.PhysicalOffsetY(), 0);
  EXPECT_EQ(printer.PrintableWidth(), printer.PhysicalWidth());
  EXPECT_EQ(printer.PrintableHeight(), printer.PhysicalHeight());

  const PdfInfo info = ReadPdfInfo(pdf);
  EXPECT_EQ(info.pages, 2);
  EXPECT_NEAR(info.widthPt, kA4WidthPt, 1.0);
  EXPECT_NEAR(info.heightPt, kA4HeightPt, 1.0);
  EXPECT_EQ(info.title, kTitle31);
  const std::string text = testing::PdfText(pdf);
  const auto first = text.find("DMC 310 Gamma 0001 page 1");
  const auto second = text.find("DMC 310 Gamma 0001 page 2");
  ASSERT_NE(first, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_LT(first, second);
  EXPECT_NE(text.find("Мулине Анкор 403"), std::string::npos) << text;
}

}  // namespace
}  // namespace talmeko::platform::qt
