// The program's own result page printed for real: 40 or 80 colours with every
// brand column, through the view's paginator and the Qt spooler, onto the
// private scheduler's cups-pdf queue and onto the built-in PDF printer.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/conversion.h"
#include "htmlview/view/html_view.h"
#include "platform/cp1251.h"
#include "platform/qt/qt_font_catalogue.h"
#include "platform/qt/qt_printer_spooler.h"
#include "preview/metafile_printer.h"
#include "support/printed_pdf.h"
#include "support/qt_application.h"
#include "support/result_page.h"

namespace talmeko::htmlview {
namespace {

using talmeko::testing::PdfInfo;

constexpr char kTitle40[] = "Talmeko: forty colours of the DMC palett";
constexpr char kTitle31[] = "Talmeko: forty colours of the D";
static_assert(sizeof(kTitle40) == 41 && sizeof(kTitle31) == 32);

struct PrintedPage {
  explicit PrintedPage(std::size_t colours, const std::string& title = "") {
    std::string page = talmeko::testing::ResultPageOf(talmeko::testing::DmcColours(colours));
    if (!title.empty()) page.insert(page.find("<head>") + 6, "<title>" + title + "</title>");
    std::stringstream stream(page);
    view.LoadFromStream(&stream, "", TDocType::HTMLType);
    platform::SetCurrentPrinter(&spooler);
  }
  ~PrintedPage() { platform::SetCurrentPrinter(nullptr); }
  // The pages the paginator finds for the current printer's sheet.
  int CountedPages() {
    preview::TMetaFilePrinter recorder;
    return view.RenderPreview(&recorder, true, 1, 2147483647);
  }

  // The private scheduler is named before anything asks CUPS for printers,
  // and the application made before anything asks Qt for fonts.
  const talmeko::testing::PrivateCups& cups = talmeko::testing::UsePrivateCups();
  bool application = (talmeko::testing::TestApplication(), true);
  platform::qt::QtFontCatalogue fonts;
  THtmlView view{fonts, platform::ScreenInfo{}};
  platform::qt::QtPrinterSpooler spooler;
};

TEST(ResultPagePrinting, ReachesTheCupsQueueWithItsPagesAndTitle) {
  PrintedPage printed(40, kTitle40);
  const talmeko::testing::PrivateCups& cups = printed.cups;
  if (!cups.skipReason.empty()) GTEST_SKIP() << cups.skipReason;
  ASSERT_EQ(printed.spooler.SelectedName(), cups.queue);
  const int pages = printed.CountedPages();
  EXPECT_GE(pages, 1);
  const int lastJob = talmeko::testing::LastJobId(cups.queue);
  EXPECT_EQ(printed.view.PrintPages(1, 2147483647), pages);
  // The job must arrive under the title's first 31 characters.
  const auto job = talmeko::testing::WaitForPrintedPdf(cups, lastJob, kTitle31);
  ASSERT_TRUE(job.has_value()) << "no PDF titled '" << kTitle31 << "' from the cups-pdf queue; see " << cups.dir
                               << "/log";
  const PdfInfo info = talmeko::testing::ReadPdfInfo(job->pdf);
  EXPECT_EQ(info.pages, pages);
  EXPECT_NEAR(info.widthPt, 595.28, 1.0);
  EXPECT_NEAR(info.heightPt, 841.89, 1.0);
  EXPECT_NE(info.title.find(kTitle31), std::string::npos) << info.title;
  EXPECT_EQ(info.title.find(kTitle40), std::string::npos) << info.title;
  std::filesystem::copy_file(job->pdf, std::filesystem::path(TALMEKO_TEST_OUTPUT) / "result_page_cups.pdf",
                             std::filesystem::copy_options::overwrite_existing);
}

TEST(ResultPagePrinting, BuiltInPdfPrinterWritesTheNumbersInOrder) {
  // Forty colours fit one A4 page; eighty need a second one.
  PrintedPage printed(80);
  ASSERT_TRUE(printed.spooler.SelectPrinter(platform::qt::QtPrinterSpooler::kPdfPrinterName));
  const std::filesystem::path pdf = std::filesystem::path(TALMEKO_TEST_OUTPUT) / "result_page_pdf_printer.pdf";
  std::filesystem::remove(pdf);
  printed.spooler.SetPdfOutputFile(pdf.string());
  const int pages = printed.view.PrintPages(1, 2147483647);
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(talmeko::testing::ReadPdfInfo(pdf).pages, pages);
  const std::string text = talmeko::testing::PdfText(pdf);
  // The header's brand names, then every colour's DMC number, row after row.
  std::size_t at = 0;
  for (const char* brand : {"DMC", "Гамма", "Anchor", "Madeira", "ПНК им. Кирова"}) {
    const std::size_t found = text.find(brand, at);
    ASSERT_NE(found, std::string::npos) << brand << " after " << at << " in\n" << text;
    at = found;
  }
  // Each row starts with its DMC number, so the first words of the lines
  // hold the colours in list order.
  std::istringstream lines(text.substr(at));
  std::vector<std::string> firstWords;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string word;
    if (words >> word) firstWords.push_back(word);
  }
  std::size_t next = 0;
  for (const std::string& item : talmeko::testing::DmcColours(80)) {
    // Numbers such as "White" are shown by another name; the plain ones as they are.
    const std::string number = platform::Cp1251ToUtf8(item.substr(0, item.find(' ')));
    if (number.find_first_not_of("0123456789") != std::string::npos) continue;
    // A colour no chart pairs with anything gets no row.
    if (!catalogue::FindExact(talmeko::testing::ShippedTables(), number, "dmc").Found) continue;
    while (next < firstWords.size() && firstWords[next] != number) ++next;
    ASSERT_LT(next, firstWords.size()) << number << " missing or out of order in\n" << text;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
