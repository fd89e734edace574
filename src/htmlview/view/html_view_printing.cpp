#include "htmlview/view/html_view.h"

#include "htmlview/print/paginator.h"
#include "preview/vw_printer.h"

namespace talmeko::htmlview {

int THtmlView::Paginate(preview::ThtPrinter* printer, int firstPage, int lastPage, int mode) {
  TPaginator paginator(*document_, defaults_, screen_);
  paginator.Sender = this;
  paginator.OnPageEvent = [this](void* sender, int page, bool& stop) {
    printPageCounter_ = page;
    if (OnPageEvent) OnPageEvent(sender, page, stop);
  };
  try {
    printPageCounter_ = paginator.Run(printer, firstPage, lastPage, mode);
  } catch (...) {
    printPageCounter_ = paginator.PageCounter();
    throw;
  }
  return printPageCounter_;
}

int THtmlView::RenderPreview(preview::ThtPrinter* recorder, bool countOnly, int firstPage, int lastPage) {
  return Paginate(recorder, firstPage, lastPage, countOnly ? pmCount : pmPreview);
}

int THtmlView::PrintPages(int firstPage, int lastPage, preview::ThtPrinter* printer) {
  if (OnPrinting) {
    bool stop = false;
    OnPrinting(this, stop);
    if (stop) return 0;
  }
  int pages = 0;
  if (printer != nullptr) {
    pages = Paginate(printer, firstPage, lastPage, pmPrintOnto);
  } else {
    preview::TvwPrinter systemPrinter;
    pages = Paginate(&systemPrinter, firstPage, lastPage, pmPrint);
  }
  if (OnPrinted) OnPrinted(this);
  return pages;
}

}  // namespace talmeko::htmlview
