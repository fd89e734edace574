#pragma once
// The system printer as the printing layer sees it: the installed printers,
// the selected one's names and device-mode block, information and device
// contexts with their capabilities and drawing surfaces, and the job calls.
// The Qt spooler drives real printers; tests put a fake in its place.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace talmeko::platform {

// A context handle; kNoPrinterHandle where the platform gave none.
using PrinterHandle = std::uintptr_t;
inline constexpr PrinterHandle kNoPrinterHandle = 0;

enum class DeviceCap { LogPixelsX, LogPixelsY, PhysicalWidth, PhysicalHeight, PhysicalOffsetX, PhysicalOffsetY, HorzRes, VertRes };

// The sheet a printer prints on, in its pixels: the capabilities that page
// layout needs, read together so that every part of printing sees one set.
struct SheetMetrics {
  int physicalOffsetX = 0;
  int physicalOffsetY = 0;
  int physicalWidth = 0;
  int physicalHeight = 0;
  int printableWidth = 0;  // HorzRes
  int printableHeight = 0;  // VertRes
  int logPixelsX = 0;
  int logPixelsY = 0;
};

// One capability out of a sheet's metrics: what a printer answers for it.
int DeviceCapOf(const SheetMetrics& sheet, DeviceCap cap);

struct SelectedPrinter {
  std::string device;
  std::string driver;
  std::string port;
  std::vector<unsigned char> deviceMode;  // empty when the printer supplies none
};

// What StartDoc is told about a job. The name is 8-bit Windows-1251 text.
struct DocInfo {
  int size = 20;
  std::string docName;
};

// Called by the spooler between pages: true lets the job go on.
using AbortProc = bool (*)(PrinterHandle dc, int error);

class PrinterSpooler {
 public:
  virtual ~PrinterSpooler() = default;
  // The eight capabilities of the sheet behind a context.
  SheetMetrics SheetOf(PrinterHandle handle);

  virtual std::vector<std::string> InstalledPrinters() = 0;
  virtual SelectedPrinter Selected() = 0;
  // The current printer's own query handle, for its capabilities; kNoPrinterHandle without a printer.
  virtual PrinterHandle QueryHandle() = 0;

  virtual PrinterHandle CreateIC(const SelectedPrinter& printer) = 0;
  virtual PrinterHandle CreateDC(const SelectedPrinter& printer) = 0;
  virtual void DeleteDC(PrinterHandle handle) = 0;
  virtual int GetDeviceCaps(PrinterHandle handle, DeviceCap cap) = 0;
  // The drawing surface of a context: measuring works on either kind,
  // drawing on a device context while one of its pages is open.
  virtual Canvas* CanvasOf(PrinterHandle handle) = 0;

  virtual int SetAbortProc(PrinterHandle dc, AbortProc proc) = 0;
  virtual int StartDoc(PrinterHandle dc, const DocInfo& info) = 0;
  virtual int StartPage(PrinterHandle dc) = 0;
  virtual int EndPage(PrinterHandle dc) = 0;
  virtual int EndDoc(PrinterHandle dc) = 0;
  virtual int AbortDoc(PrinterHandle dc) = 0;
};

// The process's current printer. The program sets the Qt spooler at start-up;
// tests set a fake. Printing without one raises "Printer not available".
PrinterSpooler* CurrentPrinter();
void SetCurrentPrinter(PrinterSpooler* spooler);

// Lets the application handle the window messages waiting in its queue; the
// abort procedure and the paginator call it between pages so a Cancel button
// stays alive. Does nothing until the window system installs its pump.
void ProcessPendingMessages();
void SetMessagePump(std::function<void()> pump);

}  // namespace talmeko::platform
