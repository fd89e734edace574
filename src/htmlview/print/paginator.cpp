#include "htmlview/print/paginator.h"

#include <algorithm>
#include <limits>
#include <string>

#include "htmlview/base/exceptions.h"
#include "htmlview/print/null_canvas.h"
#include "preview/metafile_printer.h"

namespace talmeko::htmlview {
namespace {

constexpr platform::Color kWhite = platform::Rgb(255, 255, 255);

TPrintMargins MarginsOf(const ViewDefaults& s) {
  return {s.PrintMarginLeft, s.PrintMarginRight, s.PrintMarginTop, s.PrintMarginBottom, s.PrintScale};
}

}  // namespace

struct TPaginator::TRunState {
  preview::ThtPrinter* printer = nullptr;
  int first = 1;
  int last = 1;
  int mode = pmPreview;
  std::unique_ptr<THtmlDocumentView> copy;
  platform::SheetMetrics sheet;
  TPageGeometry geometry;
  int documentHeight = 0;
  int strips = 1;
  int top = 0;  // the document position at the top of the next page
  bool stop = false;
  bool started = false;      // the page canvas's document is open for this run
  bool drewInRange = false;  // a page of the range was drawn on the sheet
  TNullCanvas nothing;
};

TPaginator::TPaginator(const ThtDocument& document, const ViewDefaults& settings, const platform::ScreenInfo& screen)
    : document_(document), settings_(settings), screen_(screen) {}

int TPaginator::CheckedMode(preview::ThtPrinter* printer, int mode) {
  if (printer == nullptr) throw EIllegalArgument("No printer to print or preview to.");
  const bool recorder = dynamic_cast<preview::TMetaFilePrinter*>(printer) != nullptr;
  if (mode == pmChoose) return recorder ? pmPreview : pmPrintOnto;
  if (mode == pmCount && !recorder) {
    throw EIllegalArgument(std::string("Getting the total number of pages to print requires a printer based on "
                                       "TMetaFilePrinter but not a ") + printer->ClassName());
  }
  if (mode == pmPreview && !recorder) {
    throw EIllegalArgument(std::string("Previewing a print requires a printer based on TMetaFilePrinter but not a ") +
                           printer->ClassName());
  }
  if (mode < pmChoose || mode > pmPrintOnto) throw EIllegalArgument("Unknown print mode " + std::to_string(mode));
  return mode;
}

int TPaginator::Run(preview::ThtPrinter* printer, int firstPage, int lastPage, int mode) {
  TRunState run;
  run.mode = CheckedMode(printer, mode);
  run.printer = printer;
  run.first = firstPage;
  run.last = lastPage;
  try {
    Start(run);
    if (!run.copy) return 0;
    LayOut(run);
    while (pageCounter_ <= run.last && !run.stop) PrintPage(run);
  } catch (...) {
    EndAfterFailure(run);
    throw;
  }
  End(run);
  return --pageCounter_;
}

void TPaginator::RaisePageEvent(int page, bool& stop) {
  if (OnPageEvent) OnPageEvent(Sender, page, stop);
}

void TPaginator::Start(TRunState& run) {
  pageCounter_ = 0;
  run.stop = false;
  RaisePageEvent(0, run.stop);
  if (document_.IsEmpty()) return;
  run.copy = std::make_unique<THtmlDocumentView>(document_, screen_);
  pageCounter_ = 1;
  if (!document_.Title.empty()) run.printer->Title = document_.Title;
  if (run.printer->Printing()) {
    run.printer->StartNextPage();
  } else {
    run.printer->StartDocument();
  }
  run.started = true;
}

void TPaginator::LayOut(TRunState& run) {
  run.sheet = run.printer->Sheet();
  run.geometry = ComputePageGeometry(run.sheet, MarginsOf(settings_), screen_.pixelsPerInch);
  platform::Canvas* canvas = run.printer->PageCanvas();
  if (canvas == nullptr) throw EIllegalArgument("No printer to print or preview to.");
  // Text is measured on the page canvas in the page's own units, so lines
  // break where they will on paper.
  TLayoutResult result;
  {
    platform::CanvasStateGuard guard(*canvas);
    canvas->SetMapping(run.geometry.PageMapping(run.sheet));
    result = run.copy->LayOut(*canvas, run.geometry.width, run.geometry.height);
  }
  run.documentHeight = result.documentHeight;
  const long long width = run.geometry.width;
  const long long strips = (static_cast<long long>(result.scrollWidth) + width - 1) / width;
  run.strips = static_cast<int>(std::clamp<long long>(strips, 1, std::max(1, settings_.PrintMaxHPages)));
  platform::ProcessPendingMessages();
  RaisePageEvent(1, run.stop);
}

void TPaginator::PrintPage(TRunState& run) {
  const int pageTop = run.top;
  const int pageBottom = static_cast<int>(
      std::min<long long>(static_cast<long long>(pageTop) + run.geometry.height, std::numeric_limits<int>::max()));
  // Every strip of a slice breaks on its own; the slice ends at the highest
  // break, so nothing is lost from any of them.
  int bottom = pageBottom;
  for (int strip = 0; strip < run.strips; ++strip) {
    if (strip > 0) {
      run.printer->StartNextPage();
      ++pageCounter_;
    }
    TPageBreak page;
    page.top = pageTop;
    page.bottom = pageBottom;
    page.pageHeight = run.geometry.height;
    PaintStrip(run, strip, page);
    bottom = std::min(bottom, page.bottom);
  }
  run.top = bottom;
  platform::ProcessPendingMessages();
  RaisePageEvent(pageCounter_, run.stop);
  if (bottom >= run.documentHeight - settings_.MarginHeight || bottom <= pageTop) run.stop = true;
  if (!run.stop && pageCounter_ >= run.first && pageCounter_ <= run.last - 1) run.printer->StartNextPage();
  ++pageCounter_;
}

void TPaginator::PaintStrip(TRunState& run, int strip, TPageBreak& page) {
  const TPageGeometry& g = run.geometry;
  const bool counting = run.mode == pmCount;
  platform::Canvas* canvas = counting ? &run.nothing : run.printer->PageCanvas();
  if (canvas == nullptr) throw EIllegalArgument("No printer to print or preview to.");
  platform::CanvasStateGuard guard(*canvas);
  canvas->SetMapping(g.PageMapping(run.sheet));
  canvas->SelectDeviceClip(g.deviceClip);
  const bool inRange = pageCounter_ >= run.first;
  if (inRange) run.drewInRange = true;
  const bool backgrounds = (settings_.HtOptions & (htPrintTableBackground | htPrintBackground)) != 0;
  if (inRange && (settings_.HtOptions & htPrintBackground) != 0) canvas->FillRect(g.PageRect(), kWhite);
  TPaintContext context;
  context.clip = g.PageRect();
  // Pages before the range are drawn beside the sheet, where nothing shows,
  // only to find where they break.
  context.xOffset = inRange ? g.left - strip * g.width : g.left + 3 * g.width;
  context.yTop = page.top - g.top;
  context.background = kWhite;
  context.screen = screen_;
  context.page = &page;
  context.cellBackgrounds = backgrounds;
  run.copy->Paint(*canvas, context);
  if (counting) return;
  // What reached above the page or below its break is painted over.
  const int right = g.left + g.width + 1;
  canvas->FillRect({g.left, std::min(0, g.top), right, g.top}, kWhite);
  canvas->FillRect({g.left, g.top + (page.bottom - page.top), right, g.top + g.height}, kWhite);
}

void TPaginator::End(TRunState& run) {
  switch (run.mode) {
    case pmCount:
    case pmPreview:
      run.printer->FinishDocument();
      break;
    case pmPrint:
      // Nothing of the range reached the sheet: the job is cancelled rather than printed blank.
      if (run.drewInRange) {
        run.printer->FinishDocument();
      } else {
        run.printer->AbortDocument();
      }
      break;
    default:
      break;
  }
}

void TPaginator::EndAfterFailure(TRunState& run) noexcept {
  if (!run.started) return;
  try {
    End(run);
  } catch (...) {
    // The first failure is the one the caller must see.
  }
}

}  // namespace talmeko::htmlview
