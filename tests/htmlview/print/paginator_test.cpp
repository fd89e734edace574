#include "htmlview/print/paginator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "htmlview/base/exceptions.h"
#include "parse_support.h"
#include "print/fake_sheet.h"

namespace talmeko::htmlview {
namespace {

using testing::FakeSheet;
using testing::LoadedView;

// Rows of a table without spacing or padding, each as high as given and
// holding its name, so the break positions can be worked out by hand.
std::string Rows(const std::vector<int>& heights, const std::string& extraCell = "") {
  std::string page = "<html><body><table cellspacing=0 cellpadding=0 border=0>";
  for (std::size_t i = 0; i < heights.size(); ++i) {
    page += "<tr><td height=" + std::to_string(heights[i]) + ">r" + std::to_string(i) + "</td>" + extraCell + "</tr>";
  }
  return page + "</table></body></html>";
}

// The main window's settings, with inch margins: on the 96 dpi fake sheet of
// 960 x 1200 the page is the rectangle 96,96 - 864,1104 (W 768, H 1008).
struct Fixture {
  LoadedView view;
  FakeSheet sheet;
  std::vector<int> events;
  std::size_t stopAfterEvents = 0;  // the event that cancels, counted from 1

  explicit Fixture(const std::string& html) {
    view.Load(html);
    for (double* m : {&Settings().PrintMarginLeft, &Settings().PrintMarginRight, &Settings().PrintMarginTop,
                      &Settings().PrintMarginBottom}) {
      *m = 2.54;
    }
  }
  ViewDefaults& Settings() { return view.View().Defaults(); }
  int Run(int first, int last, int mode) {
    TPaginator paginator(view.Document(), Settings(), platform::ScreenInfo{});
    paginator.OnPageEvent = [this](void*, int page, bool& stop) {
      events.push_back(page);
      if (events.size() == stopAfterEvents) stop = true;
    };
    return paginator.Run(&sheet, first, last, mode);
  }
};

TEST(Paginator, ShortTableGivesOnePageAndEventsZeroOneOne) {
  Fixture f(Rows({40, 40}));
  EXPECT_EQ(f.Run(1, 2147483647, pmPrint), 1);
  EXPECT_EQ(f.events, (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(f.sheet.log, "start finish");
  EXPECT_EQ(f.sheet.TextsOn(0, 96, 864), "r0 r1");
}

TEST(Paginator, RowStraddlingThePageBottomMovesWholeAndLeavesWhiteSpace) {
  // Rows of 100 from the body's top margin of 5: row 9 ends at 1005 and row 10
  // would run from 1005 to 1105, past the page's 1008.
  Fixture f(Rows(std::vector<int>(15, 100)));
  EXPECT_EQ(f.Run(1, 2147483647, pmPrint), 2);
  EXPECT_EQ(f.sheet.log, "start next finish");
  EXPECT_EQ(f.sheet.TextsOn(0, 96, 864), "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(f.sheet.TextsOn(1, 96, 864), "r10 r11 r12 r13 r14");
  // Page 1 is painted white from the break at document 1005 (sheet 96 + 1005)
  // to the page's bottom; page 2 starts with row 10 at the top margin.
  EXPECT_NE(f.sheet.Page(0).Dump({"fill"}).find("fill 96,1101,865,1104 #FFFFFF"), std::string::npos)
      << f.sheet.Page(0).Dump({"fill"});
  EXPECT_NE(f.sheet.Page(1).Dump({"text"}).find("'r10'"), std::string::npos);
}

TEST(Paginator, PageRangesAndTheirEnds) {
  // 25 rows of 100 make three pages: rows 0-9, 10-19 and 20-24.
  struct Case {
    int first, last, mode;
    int pages;
    const char* log;
    const char* firstSheet;  // texts on the first sheet within the page
  };
  const Case cases[] = {
      {1, 2147483647, pmPrint, 3, "start next next finish", "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9"},
      {2, 3, pmPrint, 3, "start next finish", "r10 r11 r12 r13 r14 r15 r16 r17 r18 r19"},
      {2, 2, pmPrint, 2, "start finish", "r10 r11 r12 r13 r14 r15 r16 r17 r18 r19"},
      {1, 1, pmPrintOnto, 1, "start ", "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9"},
      {4, 9, pmPrint, 3, "start abort", ""},
      {5, 9, pmPrint, 3, "start abort", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
    Fixture f(Rows(std::vector<int>(25, 100)));
    EXPECT_EQ(f.Run(c.first, c.last, c.mode), c.pages);
    EXPECT_EQ(f.sheet.log, c.log);
    EXPECT_EQ(f.sheet.TextsOn(0, 96, 864), c.firstSheet);
  }
}

TEST(Paginator, TableWiderThanThePagePrintsLeftAndRightPages) {
  // A column of 1000 pixels pushes the third column past W = 768.
  Fixture f(Rows(std::vector<int>(15, 100), "<td width=1000></td><td>right</td>"));
  EXPECT_EQ(f.Run(1, 2147483647, pmPrint), 4);
  EXPECT_EQ(f.sheet.log, "start next next next finish");
  EXPECT_EQ(f.events, (std::vector<int>{0, 1, 2, 4}));
  EXPECT_EQ(f.sheet.TextsOn(0, 96, 864), "r0 r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(f.sheet.TextsOn(1, 96, 864), "right right right right right right right right right right");
  EXPECT_EQ(f.sheet.TextsOn(2, 96, 864), "r10 r11 r12 r13 r14");
  EXPECT_EQ(f.sheet.TextsOn(3, 96, 864), "right right right right right");
}

TEST(Paginator, RunsEndOnAnyDocument) {
  // Rows and lines taller than a page are cut; very many rows still end.
  struct Case {
    const char* name;
    std::string html;
    int pages;
  };
  const Case cases[] = {
      {"a row taller than a page", Rows({50, 2500, 50}), 3},
      {"a text line taller than a page", "<html><body><table><tr><td style=\"font-size:1100px\">X</td></tr></table></body></html>", 2},
      {"10,000 rows", Rows(std::vector<int>(10000, 20)), 200},
      {"a table wider than two pages", Rows(std::vector<int>(15, 100), "<td width=3000>x</td>"), 4},
      {"no content", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f(c.html);
    EXPECT_EQ(f.Run(1, 2147483647, pmPrint), c.pages);
    if (c.pages == 0) {
      EXPECT_EQ(f.sheet.log, "");
    }
  }
}

TEST(Paginator, StopFlagEndsTheRunAfterThatPage) {
  // Cancelling at the layout's event prints nothing; after page k, k pages.
  for (int stop = 0; stop <= 5; ++stop) {
    SCOPED_TRACE(stop);
    Fixture f(Rows(std::vector<int>(45, 100)));
    f.stopAfterEvents = 2 + stop;
    const int pages = f.Run(1, 2147483647, pmPrint);
    EXPECT_EQ(pages, stop);
    EXPECT_EQ(f.sheet.Sheets(), static_cast<std::size_t>(std::max(1, stop)));
    EXPECT_EQ(f.sheet.log.substr(f.sheet.log.size() - 6), stop == 0 ? " abort" : "finish");
  }
}

TEST(Paginator, CanvasFailureEndsTheDocumentAndReachesTheCaller) {
  Fixture f(Rows(std::vector<int>(25, 100)));
  f.sheet.failAfterTexts = 3;
  EXPECT_THROW(f.Run(1, 2147483647, pmPrint), std::runtime_error);
  EXPECT_EQ(f.sheet.log, "start finish");
  EXPECT_FALSE(f.sheet.Printing());
}

TEST(Paginator, WrongPageCanvasesAreRefusedWithTheirMessages) {
  Fixture f(Rows({40}));
  TPaginator paginator(f.view.Document(), f.Settings(), platform::ScreenInfo{});
  struct Case {
    preview::ThtPrinter* printer;
    int mode;
    const char* message;
  };
  const Case cases[] = {
      {nullptr, pmPreview, "No printer to print or preview to."},
      {&f.sheet, pmCount,
       "Getting the total number of pages to print requires a printer based on TMetaFilePrinter but not a TFakeSheet"},
      {&f.sheet, pmPreview, "Previewing a print requires a printer based on TMetaFilePrinter but not a TFakeSheet"},
  };
  for (const Case& c : cases) {
    try {
      paginator.Run(c.printer, 1, 1, c.mode);
      ADD_FAILURE() << c.message;
    } catch (const EIllegalArgument& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(f.sheet.log, "");
}

TEST(Paginator, PaperWithoutBackgroundsPrintsLightTextGrey) {
  const std::string html =
      "<html><body><table><tr><td style=\"background:#336699;color:#F0F0F0\">pale</td></tr></table>"
      "</body></html>";
  for (bool backgrounds : {true, false}) {
    Fixture f(html);
    f.Settings().HtOptions = backgrounds ? unsigned{htPrintTableBackground} : 0u;
    f.Run(1, 1, pmPrint);
    const std::string dump = f.sheet.Page(0).Dump({"fill", "text"});
    EXPECT_EQ(dump.find("#336699") != std::string::npos, backgrounds) << dump;
    EXPECT_NE(dump.find(backgrounds ? "'pale' #F0F0F0" : "'pale' #A0A0A0"), std::string::npos) << dump;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
