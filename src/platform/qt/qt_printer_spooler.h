#pragma once
// The printer spooler over Qt's printing: the printers CUPS knows, and a
// built-in printer that writes a PDF file, so that previewing and printing
// work on a machine without any printer. Device pixels are the printer's:
// its resolution, its paper and the printable area of that paper.
//
// A context is a QPrinter set up for the selected printer. An information
// context measures text on a small image with the printer's resolution; a
// device context does the same until its job starts, and then draws with a
// painter on the printer while the job is open.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer_spooler.h"

class QPrinter;

namespace talmeko::platform::qt {

class QtPrinterSpooler final : public PrinterSpooler {
 public:
  // The built-in PDF printer's name, last in the list of installed printers.
  static constexpr const char* kPdfPrinterName = "PDF";

  // Selects the system's default printer, or the PDF printer where there is none.
  // The PDF printer writes to talmeko.pdf in the user's home folder (the
  // current folder where there is no home) until told otherwise.
  QtPrinterSpooler();
  ~QtPrinterSpooler() override;

  // Names are Windows-1251 text. Answers false, and keeps the selection, for a name not installed.
  bool SelectPrinter(const std::string& name);
  const std::string& SelectedName() const { return selected_; }
  bool PdfSelected() const { return selected_ == kPdfPrinterName; }
  // The file that the built-in PDF printer's jobs are written to.
  void SetPdfOutputFile(const std::string& path) { pdfOutputFile_ = path; }
  const std::string& PdfOutputFile() const { return pdfOutputFile_; }
  // Qt's print dialog offers the selected printer through the printer it is
  // given; the built-in PDF printer is Qt's PDF output there, with its file.
  void OfferTo(QPrinter& printer) const;
  // Selects what the user chose in that dialog.
  void SelectFrom(const QPrinter& printer);

  std::vector<std::string> InstalledPrinters() override;
  SelectedPrinter Selected() override;
  PrinterHandle QueryHandle() override;

  PrinterHandle CreateIC(const SelectedPrinter& printer) override;
  PrinterHandle CreateDC(const SelectedPrinter& printer) override;
  void DeleteDC(PrinterHandle handle) override;
  int GetDeviceCaps(PrinterHandle handle, DeviceCap cap) override;
  Canvas* CanvasOf(PrinterHandle handle) override;

  int SetAbortProc(PrinterHandle dc, AbortProc proc) override;
  int StartDoc(PrinterHandle dc, const DocInfo& info) override;
  int StartPage(PrinterHandle dc) override;
  int EndPage(PrinterHandle dc) override;
  int EndDoc(PrinterHandle dc) override;
  int AbortDoc(PrinterHandle dc) override;

 private:
  struct Context;

  PrinterHandle Create(const SelectedPrinter& printer, bool device);
  Context* Find(PrinterHandle handle);
  // The job of a device context that is still running, or null.
  Context* Job(PrinterHandle dc);
  // Ends the painter and delivers the job unless it is aborted; false when it could not be delivered.
  bool StopJob(Context& context, bool abort);

  std::string selected_;
  std::string pdfOutputFile_;
  std::map<PrinterHandle, std::unique_ptr<Context>> contexts_;
  PrinterHandle nextHandle_ = 1;
  PrinterHandle query_ = kNoPrinterHandle;
};

}  // namespace talmeko::platform::qt
