#include "preview/ui/view_printing.h"

#include "htmlview/print/paginator.h"
#include "htmlview/ui/html_view_widget.h"
#include "platform/qt/qt_screen_info.h"
#include "preview/vw_printer.h"

namespace talmeko::preview::ui {

int TViewPrinting::RenderPreview(TMetaFilePrinter& recorder, bool countOnly, int firstPage, int lastPage) {
  return Run(recorder, firstPage, lastPage, countOnly ? htmlview::pmCount : htmlview::pmPreview);
}

int TViewPrinting::PrintPages(int firstPage, int lastPage, ThtPrinter* printer) {
  if (printer != nullptr) return Run(*printer, firstPage, lastPage, htmlview::pmChoose);
  TvwPrinter systemPrinter;
  return Run(systemPrinter, firstPage, lastPage, htmlview::pmPrint);
}

int TViewPrinting::Run(ThtPrinter& printer, int firstPage, int lastPage, int mode) {
  htmlview::THtmlView& engine = view_.Engine();
  htmlview::TPaginator paginator(engine.Document(), engine.Defaults(), platform::qt::CurrentScreenInfo(&view_));
  paginator.OnPageEvent = OnPageEvent;
  paginator.Sender = &view_;
  return paginator.Run(&printer, firstPage, lastPage, mode);
}

}  // namespace talmeko::preview::ui
