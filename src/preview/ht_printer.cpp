#include "preview/ht_printer.h"

#include "htmlview/base/exceptions.h"

namespace talmeko::preview {

using platform::DeviceCap;

void ThtPrinter::VerifyPrinting(bool expected) const {
  if (printing_ == expected) return;
  throw htmlview::EPrinter(expected ? "Printer is not currently printing" : "Printing in progress");
}

void ThtPrinter::ReadPrinterMetrics(platform::PrinterSpooler* printer) {
  if (printer == nullptr || printer->InstalledPrinters().empty()) throw htmlview::Exception("Printer not available");
  const platform::PrinterHandle query = printer->QueryHandle();
  logPixelsX_ = printer->GetDeviceCaps(query, DeviceCap::LogPixelsX);
  logPixelsY_ = printer->GetDeviceCaps(query, DeviceCap::LogPixelsY);
  physicalWidth_ = printer->GetDeviceCaps(query, DeviceCap::PhysicalWidth);
  physicalHeight_ = printer->GetDeviceCaps(query, DeviceCap::PhysicalHeight);
  physicalOffsetX_ = printer->GetDeviceCaps(query, DeviceCap::PhysicalOffsetX);
  physicalOffsetY_ = printer->GetDeviceCaps(query, DeviceCap::PhysicalOffsetY);
  printableHeight_ = printer->GetDeviceCaps(query, DeviceCap::VertRes);
  printableWidth_ = printer->GetDeviceCaps(query, DeviceCap::HorzRes);
}

}  // namespace talmeko::preview
