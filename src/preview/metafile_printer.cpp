#include "preview/metafile_printer.h"

#include <cstddef>

#include "htmlview/base/exceptions.h"

namespace talmeko::preview {

using platform::MetafileCanvas;
using platform::RecordedPage;

TMetaFilePrinter::~TMetaFilePrinter() { ClearPages(); }

MetafileCanvas* TMetaFilePrinter::GetPageCanvas() {
  pageTouched_ = true;
  return canvas_.get();
}

const RecordedPage& TMetaFilePrinter::Pages(int index) const {
  return *pages_.at(static_cast<std::size_t>(index));
}

void TMetaFilePrinter::StartDocument() {
  ClearPages();
  ReadPrinterMetrics(platform::CurrentPrinter());
  StartNextPage();
}

void TMetaFilePrinter::StartNextPage() {
  platform::Canvas& reference = ReferenceCanvas();
  const bool firstPage = canvas_ == nullptr;
  // The previous page is completed before the next one is opened: both
  // canvases would share the printer's measuring canvas, and each gives it
  // back the state it found, which only works one at a time.
  canvas_.reset();
  pages_.push_back(std::make_unique<RecordedPage>(platform::Size{PrintableWidth(), PrintableHeight()}));
  canvas_ = std::make_unique<MetafileCanvas>(*pages_.back(), reference);
  PaintPageWhite(*canvas_);
  if (firstPage) SetFirstPageDefaults(*canvas_);
  pageTouched_ = false;
  RaisePageEvent();
}

void TMetaFilePrinter::FinishDocument() {
  // Only a page that is open can be the untouched trailing page: a second
  // call after the document ended must not take a finished page with it.
  const bool documentOpen = canvas_ != nullptr;
  canvas_.reset();
  if (documentOpen && !pageTouched_ && !pages_.empty()) pages_.pop_back();
}

void TMetaFilePrinter::AbortDocument() {
  canvas_.reset();
  ClearPages();
}

void TMetaFilePrinter::ClearPages() {
  // The canvas refers to its page, so it goes first.
  canvas_.reset();
  pages_.clear();
}

// The current printer measures the text of every page, so the recorded
// lines break where the printed ones do.
platform::Canvas& TMetaFilePrinter::ReferenceCanvas() const {
  platform::PrinterSpooler* printer = platform::CurrentPrinter();
  platform::Canvas* canvas = printer != nullptr ? printer->CanvasOf(printer->QueryHandle()) : nullptr;
  if (canvas == nullptr) throw htmlview::EPrinter("Printer selected is not valid");
  return *canvas;
}

void TMetaFilePrinter::PaintPageWhite(MetafileCanvas& canvas) const {
  canvas.FillRect({0, 0, PhysicalWidth(), PhysicalHeight()}, platform::Rgb(255, 255, 255));
}

// Arial 10 pt sized for the screen, and text without a background.
void TMetaFilePrinter::SetFirstPageDefaults(MetafileCanvas& canvas) const {
  platform::FontDesc font;
  font.family = "Arial";
  font.height = (10 * screen_.pixelsPerInch + 36) / 72;
  canvas.SelectFont(font);
  canvas.SetBrushStyle(platform::BrushStyle::Clear);
}

void TMetaFilePrinter::RaisePageEvent() {
  if (!OnPageEvent) return;
  bool stopPrinting = false;
  OnPageEvent(this, PageCount(), stopPrinting);
}

}  // namespace talmeko::preview
