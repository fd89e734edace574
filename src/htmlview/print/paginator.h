#pragma once
// Cuts the view's document into printed pages and draws them onto a page
// canvas: the page recorder behind the preview, or a printer. Each run lays
// out a printing copy of the document for the page's width, so the screen's
// layout and scroll position stay as they are.

#include <memory>

#include "htmlview/layout/document_view.h"
#include "htmlview/parse/document.h"
#include "htmlview/print/page_geometry.h"
#include "htmlview/style/view_defaults.h"
#include "platform/font_catalogue.h"
#include "preview/ht_printer.h"

namespace talmeko::htmlview {

enum TPrintMode : int {
  pmChoose = 0,   // preview for a recorder, else print on the caller's canvas
  pmCount = 1,    // count the pages only
  pmPreview = 2,  // record every page of the range
  pmPrint = 3,    // print on a page canvas made for the run
  pmPrintOnto = 4 // print on a caller's page canvas and leave its document open
};

class TPaginator {
 public:
  // The document and the settings must outlive the paginator.
  TPaginator(const ThtDocument& document, const ViewDefaults& settings, const platform::ScreenInfo& screen);

  // Raised with page 0 at the start, 1 once laid out, then after every page.
  preview::TPageEvent OnPageEvent;
  void* Sender = nullptr;

  // Returns the number of pages produced.
  int Run(preview::ThtPrinter* printer, int firstPage, int lastPage, int mode);
  int PageCounter() const { return pageCounter_; }

 private:
  struct TRunState;

  static int CheckedMode(preview::ThtPrinter* printer, int mode);
  void Start(TRunState& run);
  void LayOut(TRunState& run);
  void PrintPage(TRunState& run);
  void PaintStrip(TRunState& run, int strip, TPageBreak& page);
  void End(TRunState& run);
  void EndAfterFailure(TRunState& run) noexcept;
  void RaisePageEvent(int page, bool& stop);

  const ThtDocument& document_;
  const ViewDefaults& settings_;
  platform::ScreenInfo screen_;
  int pageCounter_ = 0;
};

}  // namespace talmeko::htmlview
