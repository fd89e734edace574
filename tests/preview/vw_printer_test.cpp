#include "preview/vw_printer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "htmlview/base/exceptions.h"
#include "preview/printer_map.h"
#include "support/fake_spooler.h"

namespace talmeko::preview {
namespace {

using testing::FakeSpooler;

template <typename E, typename F>
std::string MessageOf(F&& call) {
  try {
    call();
  } catch (const E& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

TEST(TvwPrinter, MeasuresThroughAnInformationContextButDrawsOnlyInADocument) {
  FakeSpooler spooler;
  TvwPrinter printer(&spooler);
  platform::Canvas& canvas = *printer.PageCanvas();
  canvas.SelectFont({"Arial", 20});
  EXPECT_EQ(canvas.TextWidth(u"DMC"), 30);
  EXPECT_EQ(spooler.Log(), "CreateIC Fake devmode 4 -> 1\n");
  EXPECT_EQ(printer.HandleState(), hsInfoContext);

  const std::function<void()> drawings[] = {
      [&] { canvas.DrawText(0, 0, u"x", 0); },
      [&] { canvas.FillRect({0, 0, 5, 5}, 0); },
      [&] { canvas.FrameRect({0, 0, 5, 5}, 0); },
      [&] { canvas.DrawLine({0, 0}, {5, 5}, 0); },
  };
  for (const auto& draw : drawings) {
    EXPECT_EQ(MessageOf<htmlview::EPrinter>(draw), "Printer is not currently printing");
  }
  EXPECT_TRUE(spooler.CanvasFor(1)->Dump({"text", "fill", "frame", "line"}).empty());
}

TEST(TvwPrinter, ThreePagesMakeOneBalancedJob) {
  FakeSpooler spooler;
  int pumped = 0;
  platform::SetMessagePump([&pumped] { ++pumped; });
  {
    TvwPrinter printer(&spooler);
    printer.Title = u"Таблица";
    printer.PageCanvas()->SelectFont({"Arial", 20});
    printer.StartDocument();
    EXPECT_EQ(printer.LogPixelsX(), 600);
    EXPECT_EQ(printer.PrintableHeight(), 6776);
    EXPECT_EQ(PrinterMap().Find(2), &printer);
    ASSERT_NE(printer.DeviceMode(), nullptr);
    EXPECT_EQ(*printer.DeviceMode(), spooler.deviceMode);
    for (int page = 1; page <= 3; ++page) {
      EXPECT_EQ(printer.CurrentPage(), page);
      printer.PageCanvas()->FillRect({0, 0, 10, 10}, platform::Rgb(255, 0, 0));
      if (page < 3) printer.StartNextPage();
    }
    printer.FinishDocument();
    EXPECT_EQ(printer.CurrentPage(), 0);
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.DeviceMode(), nullptr);
    EXPECT_EQ(PrinterMap().Find(2), nullptr);
    // The font chosen before the document reaches the device context, and again on every new page.
    EXPECT_EQ(spooler.CanvasFor(2)->Dump({"font", "fill"}),
              "font Arial 20 w400\nfill 0,0,10,10 #FF0000\n"
              "font Arial 20 w400\nfill 0,0,10,10 #FF0000\n"
              "font Arial 20 w400\nfill 0,0,10,10 #FF0000\n");
  }
  platform::SetMessagePump(nullptr);
  EXPECT_EQ(spooler.Log(),
            "CreateIC Fake devmode 4 -> 1\n"
            "DeleteDC 1\n"
            "CreateDC Fake devmode 4 -> 2\n"
            "SetAbortProc 2\n"
            "StartDoc 2 '\xD2\xE0\xE1\xEB\xE8\xF6\xE0'\n"
            "StartPage 2\n"
            "EndPage 2 continue\nStartPage 2\n"
            "EndPage 2 continue\nStartPage 2\n"
            "EndPage 2 continue\n"
            "EndDoc 2\n"
            "DeleteDC 2\n");
  EXPECT_EQ(pumped, 3);
  EXPECT_EQ(spooler.OpenJobs(), 0);
  EXPECT_EQ(spooler.LiveContexts(), 0);
}

TEST(TvwPrinter, DocumentNameIsTheFirst31CharactersOfTheTitle) {
  struct Case {
    std::u16string title;
    std::string name;
  };
  const Case cases[] = {
      {u"", ""},
      {u"0123456789012345678901234567890123456789", "0123456789012345678901234567890"},
      {u"АБВГДЕЖЗИЙАБВГДЕЖЗИЙАБВГДЕЖЗИЙАБВГДЕЖЗИЙ",
       "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9"
       "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xC0"},
      {u"a€→", "a\x88?"},
  };
  for (const Case& c : cases) {
    FakeSpooler spooler;
    TvwPrinter printer(&spooler);
    printer.Title = c.title;
    printer.StartDocument();
    EXPECT_EQ(spooler.Calls().at(2), "StartDoc 1 '" + c.name + "'");
    printer.FinishDocument();
  }
}

TEST(TvwPrinter, SecondStartDocumentRaisesAndLeavesTheFirstJobOpen) {
  FakeSpooler spooler;
  TvwPrinter printer(&spooler);
  printer.StartDocument();
  EXPECT_EQ(MessageOf<htmlview::EPrinter>([&] { printer.StartDocument(); }), "Printing in progress");
  EXPECT_TRUE(printer.Printing());
  EXPECT_EQ(spooler.OpenJobs(), 1);
  printer.PageCanvas()->FillRect({0, 0, 1, 1}, 0);
  printer.FinishDocument();
  EXPECT_EQ(spooler.OpenJobs(), 0);

  // The next job reuses the device context that the first one opened.
  spooler.ClearLog();
  printer.StartDocument();
  printer.FinishDocument();
  EXPECT_EQ(spooler.Log(), "SetAbortProc 1\nStartDoc 1 ''\nStartPage 1\nEndPage 1 continue\nEndDoc 1\n");
}

TEST(TvwPrinter, AbortCancelsTheJobAndSkipsEndDoc) {
  FakeSpooler spooler;
  TvwPrinter printer(&spooler);
  printer.StartDocument();
  printer.StartNextPage();
  spooler.ClearLog();
  printer.AbortDocument();
  // The abort procedure asked during the last EndPage already sees the abort.
  EXPECT_EQ(spooler.Log(), "AbortDoc 1\nEndPage 1 cancel\n");
  EXPECT_FALSE(printer.Printing());
  EXPECT_FALSE(printer.Aborted());
  EXPECT_EQ(printer.CurrentPage(), 0);
  EXPECT_EQ(PrinterMap().Find(1), nullptr);
  EXPECT_EQ(spooler.OpenJobs(), 0);
  EXPECT_EQ(MessageOf<htmlview::EPrinter>([&] { printer.AbortDocument(); }), "Printer is not currently printing");
}

TEST(TvwPrinter, AbortProcCancelsJobsItDoesNotKnow) {
  FakeSpooler spooler;
  TvwPrinter printer(&spooler);
  printer.StartDocument();
  EXPECT_TRUE(TvwPrinter::PrintAbortProc(printer.DeviceContext(), 0));
  EXPECT_FALSE(TvwPrinter::PrintAbortProc(printer.DeviceContext() + 1000, 0));
  printer.FinishDocument();
  EXPECT_FALSE(TvwPrinter::PrintAbortProc(printer.DeviceContext(), 0));
}

TEST(TvwPrinter, PrinterMapReplacesAndRemovesByHandle) {
  FakeSpooler spooler;
  TvwPrinter a(&spooler);
  TvwPrinter b(&spooler);
  TMap map;
  EXPECT_EQ(map.Store(7, &a), nullptr);
  EXPECT_EQ(map.Store(8, &b), nullptr);
  EXPECT_EQ(map.Store(7, &b), &a);
  EXPECT_EQ(map.Find(7), &b);
  EXPECT_EQ(map.Remove(9), nullptr);
  EXPECT_EQ(map.Count(), 2);
  EXPECT_EQ(map.Remove(7), &b);
  EXPECT_EQ(map.Find(7), nullptr);
  EXPECT_EQ(map.Find(8), &b);
}

TEST(TvwPrinter, FailedStartLeavesNothingOpen) {
  const std::string invalid = "Printer selected is not valid";
  struct Case {
    const char* name;
    std::function<void(FakeSpooler&)> breakIt;
    bool withSpooler;
    std::string measuring;
    std::string starting;
  };
  const Case cases[] = {
      {"no printer object", [](FakeSpooler&) {}, false, "Printer not available", "Printer not available"},
      {"no printer installed", [](FakeSpooler& s) { s.printers.clear(); }, true, "Printer not available",
       "Printer not available"},
      {"no context at all", [](FakeSpooler& s) { s.failCreateIC = s.failCreateDC = true; }, true, invalid, invalid},
      {"no device context", [](FakeSpooler& s) { s.failCreateDC = true; }, true, "(nothing thrown)", invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSpooler spooler;
    c.breakIt(spooler);
    {
      TvwPrinter printer(c.withSpooler ? &spooler : nullptr);
      EXPECT_EQ(MessageOf<htmlview::Exception>([&] { printer.PageCanvas()->TextWidth(u"x"); }), c.measuring);
      EXPECT_EQ(MessageOf<htmlview::Exception>([&] { printer.StartDocument(); }), c.starting);
      EXPECT_FALSE(printer.Printing());
      EXPECT_EQ(printer.HandleState(), hsNone);
      EXPECT_EQ(PrinterMap().Count(), 0);
    }
    EXPECT_EQ(spooler.OpenJobs(), 0);
    EXPECT_EQ(spooler.LiveContexts(), 0);
    EXPECT_EQ(spooler.Log().find("StartDoc"), std::string::npos);
  }
}

TEST(TvwPrinter, CanvasFailureMidPageReachesTheCallerAndTheJobCanStillEnd) {
  FakeSpooler spooler;
  {
    auto printer = std::make_unique<TvwPrinter>(&spooler);
    printer->StartDocument();
    spooler.failDrawing = true;
    EXPECT_THROW(printer->PageCanvas()->FillRect({0, 0, 1, 1}, 0), std::runtime_error);
    EXPECT_TRUE(printer->Printing());
    printer->AbortDocument();

    // A printer dropped in the middle of a job ends that job itself.
    spooler.failDrawing = false;
    printer->StartDocument();
    printer.reset();
  }
  EXPECT_EQ(spooler.OpenJobs(), 0);
  EXPECT_EQ(spooler.LiveContexts(), 0);
  EXPECT_EQ(spooler.Calls().back(), "DeleteDC 1");
  EXPECT_EQ(spooler.Calls().at(spooler.Calls().size() - 2), "EndDoc 1");
}

}  // namespace
}  // namespace talmeko::preview
