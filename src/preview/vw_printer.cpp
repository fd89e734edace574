#include "preview/vw_printer.h"

#include <new>

#include "htmlview/base/exceptions.h"
#include "platform/cp1251.h"
#include "preview/printer_map.h"

namespace talmeko::preview {

using platform::kNoPrinterHandle;

// The spooler keeps the document name in a fixed field of 32 bytes.
constexpr std::size_t kDocNameLength = 31;

TvwPrinter::TvwPrinter(platform::PrinterSpooler* spooler) : spooler_(spooler) {}

TvwPrinter::~TvwPrinter() {
  if (Printing()) FinishDocument();
  // A job that failed between registering and starting must not leave the
  // abort procedure a pointer to a printer that is gone.
  if (PrinterMap().Find(dc_) == this) PrinterMap().Remove(dc_);
  SetHandleState(hsNone);
}

platform::PrinterSpooler& TvwPrinter::Spooler() const {
  if (spooler_ == nullptr) throw htmlview::Exception("Printer not available");
  return *spooler_;
}

platform::Canvas* TvwPrinter::GetPageCanvas() { return &PrinterCanvas(); }

TPrinterCanvas& TvwPrinter::PrinterCanvas() {
  if (!pageCanvas_) pageCanvas_ = std::make_unique<TPrinterCanvas>(*this);
  return *pageCanvas_;
}

void TvwPrinter::StartDocument() {
  VerifyPrinting(false);
  SetHandleState(hsDeviceContext);
  ReadPrinterMetrics(spooler_);
  PrinterCanvas().Refresh();
  aborted_ = false;
  pageNumber_ = 1;
  const platform::DocInfo info = DocumentInfo();
  PrinterMap().Store(dc_, this);
  spooler_->SetAbortProc(dc_, &TvwPrinter::PrintAbortProc);
  spooler_->StartDoc(dc_, info);
  SetPrintingState(true);
  spooler_->StartPage(dc_);
}

void TvwPrinter::StartNextPage() {
  VerifyPrinting(true);
  spooler_->EndPage(dc_);
  spooler_->StartPage(dc_);
  ++pageNumber_;
  PrinterCanvas().Refresh();
}

void TvwPrinter::FinishDocument() {
  VerifyPrinting(true);
  spooler_->EndPage(dc_);
  PrinterMap().Remove(dc_);
  if (!aborted_) spooler_->EndDoc(dc_);
  SetPrintingState(false);
  aborted_ = false;
  pageNumber_ = 0;
  deviceMode_.reset();
}

void TvwPrinter::AbortDocument() {
  VerifyPrinting(true);
  spooler_->AbortDoc(PrinterCanvas().Handle());
  aborted_ = true;
  FinishDocument();
}

bool TvwPrinter::PrintAbortProc(platform::PrinterHandle dc, int /*error*/) {
  platform::ProcessPendingMessages();
  const TvwPrinter* printer = PrinterMap().Find(dc);
  return printer != nullptr && !printer->aborted_;
}

void TvwPrinter::SetHandleState(THandleState target) {
  if (target == handleState_) return;
  if (target == hsNone) {
    VerifyPrinting(false);
    ReleaseContext();
  } else if (target == hsInfoContext && handleState_ == hsDeviceContext) {
    // A device context answers every question an information context does.
    return;
  } else {
    CreateContext(target);
  }
  handleState_ = target;
}

void TvwPrinter::ReleaseContext() {
  if (pageCanvas_) pageCanvas_->SetHandle(kNoPrinterHandle);
  if (dc_ != kNoPrinterHandle) spooler_->DeleteDC(dc_);
  dc_ = kNoPrinterHandle;
  // Until a new context exists the printer holds none, also when creating it fails.
  handleState_ = hsNone;
}

void TvwPrinter::CreateContext(THandleState kind) {
  ReleaseContext();
  platform::PrinterSpooler& spooler = Spooler();
  if (spooler.InstalledPrinters().empty()) throw htmlview::Exception("Printer not available");
  platform::SelectedPrinter printer = spooler.Selected();
  CopyDeviceMode(printer.deviceMode);
  printer.deviceMode = deviceMode_.value_or(std::vector<unsigned char>{});
  dc_ = kind == hsDeviceContext ? spooler.CreateDC(printer) : spooler.CreateIC(printer);
  if (dc_ == kNoPrinterHandle) throw htmlview::EPrinter("Printer selected is not valid");
  if (pageCanvas_) {
    pageCanvas_->SetHandle(dc_);
    pageCanvas_->Refresh();
  }
}

// The printer's block may change while the job runs; the context keeps a
// copy of its own. Without memory for it the context gets the defaults.
void TvwPrinter::CopyDeviceMode(const std::vector<unsigned char>& block) {
  deviceMode_.reset();
  if (block.empty()) return;
  try {
    deviceMode_.emplace(block);
  } catch (const std::bad_alloc&) {
    deviceMode_.reset();
  }
}

platform::DocInfo TvwPrinter::DocumentInfo() const {
  platform::DocInfo info;
  info.docName = platform::EncodeCp1251(std::u16string_view(Title).substr(0, kDocNameLength));
  return info;
}

}  // namespace talmeko::preview
