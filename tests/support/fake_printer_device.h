#pragma once
// A printer for tests of page canvases that only measure on a printer: it has
// a name, a sheet with chosen metrics and a measuring canvas behind its query
// handle. The job calls do nothing; they are not what these tests look at.

#include <string>
#include <vector>

#include "platform/printer_spooler.h"
#include "support/fake_canvas.h"

namespace talmeko::testing {

class FakePrinterDevice : public platform::PrinterSpooler {
 public:
  static constexpr platform::PrinterHandle kQuery = 1;

  std::vector<std::string> InstalledPrinters() override { return printers; }
  platform::SelectedPrinter Selected() override { return {"Fake", "fake", "FILE:", {}}; }
  platform::PrinterHandle QueryHandle() override { return printers.empty() ? platform::kNoPrinterHandle : kQuery; }
  platform::PrinterHandle CreateIC(const platform::SelectedPrinter&) override { return platform::kNoPrinterHandle; }
  platform::PrinterHandle CreateDC(const platform::SelectedPrinter&) override { return platform::kNoPrinterHandle; }
  void DeleteDC(platform::PrinterHandle) override {}
  int GetDeviceCaps(platform::PrinterHandle, platform::DeviceCap cap) override { return DeviceCapOf(sheet, cap); }
  platform::Canvas* CanvasOf(platform::PrinterHandle handle) override {
    return handle == kQuery && hasCanvas ? &canvas : nullptr;
  }
  int SetAbortProc(platform::PrinterHandle, platform::AbortProc) override { return 1; }
  int StartDoc(platform::PrinterHandle, const platform::DocInfo&) override { return 1; }
  int StartPage(platform::PrinterHandle) override { return 1; }
  int EndPage(platform::PrinterHandle) override { return 1; }
  int EndDoc(platform::PrinterHandle) override { return 1; }
  int AbortDoc(platform::PrinterHandle) override { return 1; }

  std::vector<std::string> printers{"Fake"};
  // A sheet of 1000 x 1400 pixels at 100 pixels per inch, printable 900 x 1300 from (50, 40).
  platform::SheetMetrics sheet{50, 40, 1000, 1400, 900, 1300, 100, 100};
  bool hasCanvas = true;
  RecordingCanvas canvas;  // what the printer measures with, and what it was told
};

// Makes a printer the process's current one for the lifetime of a test.
class CurrentPrinterScope {
 public:
  explicit CurrentPrinterScope(platform::PrinterSpooler* printer) : previous_(platform::CurrentPrinter()) {
    platform::SetCurrentPrinter(printer);
  }
  ~CurrentPrinterScope() { platform::SetCurrentPrinter(previous_); }
  CurrentPrinterScope(const CurrentPrinterScope&) = delete;
  CurrentPrinterScope& operator=(const CurrentPrinterScope&) = delete;

 private:
  platform::PrinterSpooler* previous_;
};

}  // namespace talmeko::testing
