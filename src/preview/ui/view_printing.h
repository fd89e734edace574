#pragma once
// What the preview needs of the main window's view: its document paginated
// onto the page recorder, or onto a printer, with the page events of the run
// going to whoever listens.

#include "preview/ht_printer.h"
#include "preview/metafile_printer.h"

namespace talmeko::htmlview::ui {
class THtmlViewWidget;
}

namespace talmeko::preview::ui {

class TViewPrinting {
 public:
  explicit TViewPrinting(htmlview::ui::THtmlViewWidget& view) : view_(view) {}

  // Raised with page 0 before the layout, 1 after it, then after every page.
  TPageEvent OnPageEvent;

  // Records pages first..last (1-based) of the document; returns the pages produced.
  int RenderPreview(TMetaFilePrinter& recorder, bool countOnly, int firstPage, int lastPage);
  // Prints pages first..last on the printer given, or on the current system
  // printer as one job of a page canvas made for the run.
  int PrintPages(int firstPage, int lastPage, ThtPrinter* printer = nullptr);

  htmlview::ui::THtmlViewWidget& View() const { return view_; }

 private:
  int Run(ThtPrinter& printer, int firstPage, int lastPage, int mode);

  htmlview::ui::THtmlViewWidget& view_;
};

}  // namespace talmeko::preview::ui
