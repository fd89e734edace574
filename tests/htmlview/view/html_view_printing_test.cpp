#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmlview/base/exceptions.h"
#include "htmlview/view/html_view.h"
#include "parse_support.h"
#include "preview/metafile_printer.h"
#include "support/fake_printer_device.h"
#include "support/fake_spooler.h"

namespace talmeko::htmlview {
namespace {

using talmeko::testing::CurrentPrinterScope;

// A table of rows 100 high holding their names.
std::string Rows(int count) {
  std::string page = "<html><head><title>\xCC\xF3\xEB\xE8\xED\xE5</title></head><body><table cellspacing=0 cellpadding=0>";
  for (int i = 0; i < count; ++i) page += "<tr><td height=100>r" + std::to_string(i) + "</td></tr>";
  return page + "</table></body></html>";
}

struct Viewed {
  testing::LoadedView loaded;
  std::vector<int> events;
  std::size_t stopAfterEvents = 0;
  explicit Viewed(const std::string& html) {
    loaded.Load(html);
    loaded.View().OnPageEvent = [this](void*, int page, bool& stop) {
      events.push_back(page);
      if (events.size() == stopAfterEvents) stop = true;
    };
  }
  THtmlView& View() { return loaded.View(); }
};

TEST(HtmlViewPrinting, PreviewRecordsEveryPageAndCountingAgrees) {
  // The fake printer's sheet at 100 pixels per inch leaves a page 1192 high
  // within 2 cm margins: 11 rows of 100 below the body's margin of 5.
  talmeko::testing::FakePrinterDevice printer;
  CurrentPrinterScope scope(&printer);
  Viewed v(Rows(30));
  preview::TMetaFilePrinter recorder;
  EXPECT_EQ(v.View().RenderPreview(&recorder, false, 1, 2147483647), 3);
  EXPECT_EQ(recorder.PageCount(), 3);
  EXPECT_EQ(v.events, (std::vector<int>{0, 1, 1, 2, 3}));
  EXPECT_EQ(recorder.Title, u"Мулине");
  EXPECT_EQ(v.View().RenderPreview(&recorder, true, 1, 2147483647), 3);
  EXPECT_EQ(v.View().PrintPageCounter(), 3);
}

TEST(HtmlViewPrinting, CancelKeepsExactlyThePagesSoFar) {
  talmeko::testing::FakePrinterDevice printer;
  CurrentPrinterScope scope(&printer);
  for (int pages = 1; pages <= 4; ++pages) {
    SCOPED_TRACE(pages);
    Viewed v(Rows(50));  // five pages
    v.stopAfterEvents = 2 + static_cast<std::size_t>(pages);
    preview::TMetaFilePrinter recorder;
    EXPECT_EQ(v.View().RenderPreview(&recorder, false, 1, 2147483647), pages);
    EXPECT_EQ(recorder.PageCount(), pages);
  }
}

TEST(HtmlViewPrinting, PrintJobsBalanceWhetherFinishedCancelledOrFailed) {
  struct Case {
    const char* name;
    int first, last;
    std::size_t stopAfterEvents;
    bool failDrawing;
    const char* ending;  // the job's last call
  };
  const Case cases[] = {
      {"all pages", 1, 2147483647, 0, false, "EndDoc"},
      {"cancelled after page 2", 1, 2147483647, 4, false, "EndDoc"},
      {"a range beyond the end", 9, 12, 0, false, "AbortDoc"},
      {"a canvas that fails", 1, 2147483647, 0, true, "EndDoc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    talmeko::testing::FakeSpooler spooler;
    spooler.failDrawing = c.failDrawing;
    CurrentPrinterScope scope(&spooler);
    Viewed v(Rows(38));
    v.stopAfterEvents = c.stopAfterEvents;
    if (c.failDrawing) {
      EXPECT_THROW(v.View().PrintPages(c.first, c.last), std::runtime_error);
    } else {
      EXPECT_GT(v.View().PrintPages(c.first, c.last), 0);
    }
    EXPECT_EQ(spooler.OpenJobs(), 0);
    EXPECT_EQ(spooler.LiveContexts(), 0);
    std::string last;
    for (const std::string& call : spooler.Calls()) {
      if (call.rfind("EndDoc", 0) == 0 || call.rfind("AbortDoc", 0) == 0) last = call.substr(0, call.find(' '));
    }
    EXPECT_EQ(last, c.ending);
  }
}

TEST(HtmlViewPrinting, NoPrinterAtAllLeavesNothingOpen) {
  CurrentPrinterScope scope(nullptr);
  Viewed v(Rows(3));
  preview::TMetaFilePrinter recorder;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      if (attempt == 0) {
        v.View().RenderPreview(&recorder, false, 1, 2147483647);
      } else {
        v.View().PrintPages(1, 2147483647);
      }
      ADD_FAILURE() << "printed without a printer";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Printer not available");
    }
  }
  EXPECT_EQ(recorder.PageCount(), 0);
}

TEST(HtmlViewPrinting, EmptyDocumentGivesNoPagesAndStartsNothing) {
  talmeko::testing::FakeSpooler spooler;
  CurrentPrinterScope scope(&spooler);
  Viewed v("");
  EXPECT_EQ(v.View().PrintPages(1, 2147483647), 0);
  EXPECT_EQ(v.events, (std::vector<int>{0}));
  for (const std::string& call : spooler.Calls()) EXPECT_EQ(call.find("StartDoc"), std::string::npos) << call;
}

}  // namespace
}  // namespace talmeko::htmlview
