#include "preview/ht_printer.h"

#include "htmlview/base/exceptions.h"

namespace talmeko::preview {


void ThtPrinter::VerifyPrinting(bool expected) const {
  if (printing_ == expected) return;
  throw htmlview::EPrinter(expected ? "Printer is not currently printing" : "Printing in progress");
}

void ThtPrinter::ReadPrinterMetrics(platform::PrinterSpooler* printer) {
  if (printer == nullptr || printer->InstalledPrinters().empty()) throw htmlview::Exception("Printer not available");
  sheet_ = printer->SheetOf(printer->QueryHandle());
}

}  // namespace talmeko::preview
