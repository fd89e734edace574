#pragma once
// The page canvas that sends its pages to the system printer as one print job.

#include <memory>
#include <optional>
#include <vector>

#include "platform/printer_spooler.h"
#include "preview/ht_printer.h"
#include "preview/printer_canvas.h"

namespace talmeko::preview {

enum THandleState : unsigned char { hsNone = 0, hsInfoContext = 1, hsDeviceContext = 2 };

class TvwPrinter : public ThtPrinter {
 public:
  // Prints through the given spooler, by default the process's current printer.
  explicit TvwPrinter(platform::PrinterSpooler* spooler = platform::CurrentPrinter());
  ~TvwPrinter() override;

  platform::Canvas* GetPageCanvas() override;
  int GetCurrentPage() override { return pageNumber_; }
  void StartDocument() override;
  void StartNextPage() override;
  void FinishDocument() override;
  void AbortDocument() override;
  const char* ClassName() const override { return "TvwPrinter"; }

  bool Aborted() const { return aborted_; }
  THandleState HandleState() const { return handleState_; }
  platform::PrinterHandle DeviceContext() const { return dc_; }
  // The private copy of the selected printer's device-mode block, null when there is none.
  const std::vector<unsigned char>* DeviceMode() const { return deviceMode_ ? &*deviceMode_ : nullptr; }
  // "Printer not available" when the process has no printer.
  platform::PrinterSpooler& Spooler() const;

  // Asked by the spooler between pages whether the job shall go on: only
  // while its printer is registered and has not been aborted.
  static bool PrintAbortProc(platform::PrinterHandle dc, int error);

 private:
  friend class TPrinterCanvas;

  void SetHandleState(THandleState target);
  void CreateContext(THandleState kind);
  void ReleaseContext();
  void CopyDeviceMode(const std::vector<unsigned char>& block);
  TPrinterCanvas& PrinterCanvas();
  platform::DocInfo DocumentInfo() const;

  platform::PrinterSpooler* spooler_;
  std::unique_ptr<TPrinterCanvas> pageCanvas_;
  int pageNumber_ = 0;
  bool aborted_ = false;
  THandleState handleState_ = hsNone;
  platform::PrinterHandle dc_ = platform::kNoPrinterHandle;
  std::optional<std::vector<unsigned char>> deviceMode_;
};

}  // namespace talmeko::preview
