#pragma once
// A page canvas: what the view's paginator draws a document onto, page by
// page, without knowing where the pages end up (the system printer, or the
// page recorder behind the preview).

#include <functional>
#include <string>

#include "platform/canvas.h"
#include "platform/printer_spooler.h"

namespace talmeko::preview {

// Page progress: raised with the page number; a handler may set stopPrinting.
using TPageEvent = std::function<void(void* sender, int numPage, bool& stopPrinting)>;

class ThtPrinter {
 public:
  virtual ~ThtPrinter() = default;
  ThtPrinter(const ThtPrinter&) = delete;
  ThtPrinter& operator=(const ThtPrinter&) = delete;

  // The surface of the page being drawn (may be null where a class has none).
  virtual platform::Canvas* GetPageCanvas() = 0;
  platform::Canvas* PageCanvas() { return GetPageCanvas(); }
  virtual int GetCurrentPage() = 0;
  int CurrentPage() { return GetCurrentPage(); }
  virtual void StartDocument() = 0;
  virtual void StartNextPage() = 0;
  virtual void FinishDocument() = 0;
  virtual void AbortDocument() = 0;
  // The class name that error messages show.
  virtual const char* ClassName() const = 0;

  // Sheet metrics in printer pixels; zero until first read.
  const platform::SheetMetrics& Sheet() const { return sheet_; }
  int PhysicalOffsetX() const { return sheet_.physicalOffsetX; }
  int PhysicalOffsetY() const { return sheet_.physicalOffsetY; }
  int PhysicalHeight() const { return sheet_.physicalHeight; }
  int PhysicalWidth() const { return sheet_.physicalWidth; }
  int PrintableHeight() const { return sheet_.printableHeight; }
  int PrintableWidth() const { return sheet_.printableWidth; }
  int LogPixelsX() const { return sheet_.logPixelsX; }
  int LogPixelsY() const { return sheet_.logPixelsY; }
  bool Printing() const { return printing_; }

  std::u16string Title;

  // Raises EPrinter when Printing differs from what the caller expects.
  void VerifyPrinting(bool expected) const;
  // Reads the eight metrics of the current printer; "Printer not available"
  // when no printer is installed (or the process has no printer object).
  void ReadPrinterMetrics(platform::PrinterSpooler* printer);

 protected:
  ThtPrinter() = default;
  void SetPrintingState(bool printing) { printing_ = printing; }

  platform::SheetMetrics sheet_;

 private:
  bool printing_ = false;
};

}  // namespace talmeko::preview
