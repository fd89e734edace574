#include "preview/metafile_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmlview/base/exceptions.h"
#include "support/fake_canvas.h"
#include "support/fake_printer_device.h"

namespace talmeko::preview {
namespace {

using platform::BrushStyle;
using platform::RecordedCommand;
using platform::RecordedPage;
using testing::FakePrinterDevice;
using testing::RecordingCanvas;

// The drawing of a page as replayed into its own extent; the replay itself
// starts every page from the default font ("font  16 w400").
std::string Drawn(const RecordedPage& page) {
  RecordingCanvas target;
  platform::ReplayPage(page, target, {0, 0, page.Extent().width, page.Extent().height});
  return target.Dump({"font", "fill", "text"});
}

bool RecordsClearBrush(const RecordedPage& page) {
  for (const RecordedCommand& c : page.Commands()) {
    if (c.kind == RecordedCommand::Kind::Brush && c.a == static_cast<int>(BrushStyle::Clear)) return true;
  }
  return false;
}

class MetaFilePrinterTest : public ::testing::Test {
 protected:
  FakePrinterDevice printer;
  testing::CurrentPrinterScope current{&printer};
};

// Operations: S StartDocument, N StartNextPage, T GetPageCanvas, D draw a
// text on the page canvas, F FinishDocument, A AbortDocument.
TEST_F(MetaFilePrinterTest, KeepsTheTouchedPagesAndDropsOnlyAnUntouchedTrailingOne) {
  struct Case {
    const char* ops;
    int pages;
  };
  const Case cases[] = {
      {"S", 1},       {"SF", 0},    {"STNF", 1},  {"SNTF", 2},     {"STNTNF", 2}, {"SDNDNDA", 0},
      {"SDFF", 1},    {"F", 0},     {"SDNDFS", 1}, {"SDNDFSF", 0}, {"SNNN", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ops);
    TMetaFilePrinter recorder;
    for (const char* op = c.ops; *op != '\0'; ++op) {
      switch (*op) {
        case 'S': recorder.StartDocument(); break;
        case 'N': recorder.StartNextPage(); break;
        case 'T': recorder.GetPageCanvas(); break;
        case 'D': recorder.GetPageCanvas()->DrawText(1, 2, u"x", 0); break;
        case 'F': recorder.FinishDocument(); break;
        case 'A': recorder.AbortDocument(); break;
      }
      EXPECT_FALSE(recorder.Printing());
    }
    EXPECT_EQ(recorder.PageCount(), c.pages);
    EXPECT_EQ(recorder.CurrentPage(), c.pages);
  }
}

TEST_F(MetaFilePrinterTest, FirstPageStartsInArialTenPointWithAClearBrushLaterPagesWithTheDefaults) {
  struct Case {
    int screenPixelsPerInch;
    const char* firstPageFont;
  };
  for (const Case& c : {Case{96, "font Arial 13 w400\n"}, Case{120, "font Arial 17 w400\n"}}) {
    SCOPED_TRACE(c.screenPixelsPerInch);
    platform::ScreenInfo screen;
    screen.pixelsPerInch = c.screenPixelsPerInch;
    TMetaFilePrinter recorder(screen);
    recorder.StartDocument();
    platform::MetafileCanvas* canvas = recorder.GetPageCanvas();
    EXPECT_EQ(printer.canvas.CurrentFont().family, "Arial");
    canvas->DrawText(10, 20, u"DMC", 0);
    canvas->SelectFont({.family = "Times New Roman", .height = 50});
    recorder.StartNextPage();
    canvas = recorder.GetPageCanvas();
    // Page 2 measures with the default font, not with what page 1 left selected.
    EXPECT_EQ(printer.canvas.CurrentFont(), platform::FontDesc{});
    EXPECT_EQ(canvas->GetBrushStyle(), BrushStyle::Solid);
    canvas->DrawText(30, 40, u"Anchor", 0);
    recorder.FinishDocument();

    ASSERT_EQ(recorder.PageCount(), 2);
    const std::string white = "fill 0,0,1000,1400 #FFFFFF\n";
    EXPECT_EQ(Drawn(recorder.Pages(0)), "font  16 w400\n" + white + c.firstPageFont +
                                            "text 10,20 'DMC' #000000\nfont Times New Roman 50 w400\n");
    EXPECT_EQ(Drawn(recorder.Pages(1)), "font  16 w400\n" + white + "text 30,40 'Anchor' #000000\n");
    EXPECT_TRUE(RecordsClearBrush(recorder.Pages(0)));
    EXPECT_FALSE(RecordsClearBrush(recorder.Pages(1)));
    EXPECT_EQ(recorder.Pages(1).Extent(), (platform::Size{900, 1300}));
    EXPECT_EQ(printer.canvas.SaveDepth(), 0);
  }
}

TEST_F(MetaFilePrinterTest, PageEventCountsThePagesAndIgnoresTheStopFlag) {
  TMetaFilePrinter recorder;
  std::vector<int> seen;
  recorder.OnPageEvent = [&](void* sender, int numPage, bool& stopPrinting) {
    EXPECT_EQ(sender, &recorder);
    EXPECT_FALSE(stopPrinting);
    stopPrinting = true;
    seen.push_back(numPage);
  };
  recorder.StartDocument();
  recorder.StartNextPage();
  recorder.StartNextPage();
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_NE(recorder.GetPageCanvas(), nullptr);
  EXPECT_EQ(recorder.PageCount(), 3);
}

// A failed start leaves nothing of the previous recording and no open page.
TEST_F(MetaFilePrinterTest, StartWithoutAUsablePrinterFailsAfterTheOldPagesAreGone) {
  struct Case {
    const char* name;
    void (*breakIt)(FakePrinterDevice&);
    const char* message;
  };
  const Case cases[] = {
      {"NoPrinterInstalled", [](FakePrinterDevice& p) { p.printers.clear(); }, "Printer not available"},
      {"NoCurrentPrinter", [](FakePrinterDevice&) { platform::SetCurrentPrinter(nullptr); }, "Printer not available"},
      {"NoMeasuringCanvas", [](FakePrinterDevice& p) { p.hasCanvas = false; }, "Printer selected is not valid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePrinterDevice device;
    testing::CurrentPrinterScope scope(&device);
    TMetaFilePrinter recorder;
    recorder.StartDocument();
    recorder.GetPageCanvas()->FillRect({0, 0, 5, 5}, 0);
    recorder.FinishDocument();
    ASSERT_EQ(recorder.PageCount(), 1);
    c.breakIt(device);
    try {
      recorder.StartDocument();
      ADD_FAILURE() << "StartDocument did not fail";
    } catch (const htmlview::Exception& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(recorder.PageCount(), 0);
    EXPECT_EQ(recorder.GetPageCanvas(), nullptr);
  }
}

}  // namespace
}  // namespace talmeko::preview
