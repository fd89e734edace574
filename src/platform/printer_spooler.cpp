#include "platform/printer_spooler.h"

#include <utility>

namespace talmeko::platform {
namespace {

PrinterSpooler* currentPrinter = nullptr;

std::function<void()>& Pump() {
  static std::function<void()> pump;
  return pump;
}

}  // namespace

int DeviceCapOf(const SheetMetrics& sheet, DeviceCap cap) {
  switch (cap) {
    case DeviceCap::LogPixelsX: return sheet.logPixelsX;
    case DeviceCap::LogPixelsY: return sheet.logPixelsY;
    case DeviceCap::PhysicalWidth: return sheet.physicalWidth;
    case DeviceCap::PhysicalHeight: return sheet.physicalHeight;
    case DeviceCap::PhysicalOffsetX: return sheet.physicalOffsetX;
    case DeviceCap::PhysicalOffsetY: return sheet.physicalOffsetY;
    case DeviceCap::HorzRes: return sheet.printableWidth;
    case DeviceCap::VertRes: return sheet.printableHeight;
  }
  return 0;
}

SheetMetrics PrinterSpooler::SheetOf(PrinterHandle handle) {
  SheetMetrics sheet;
  sheet.logPixelsX = GetDeviceCaps(handle, DeviceCap::LogPixelsX);
  sheet.logPixelsY = GetDeviceCaps(handle, DeviceCap::LogPixelsY);
  sheet.physicalWidth = GetDeviceCaps(handle, DeviceCap::PhysicalWidth);
  sheet.physicalHeight = GetDeviceCaps(handle, DeviceCap::PhysicalHeight);
  sheet.physicalOffsetX = GetDeviceCaps(handle, DeviceCap::PhysicalOffsetX);
  sheet.physicalOffsetY = GetDeviceCaps(handle, DeviceCap::PhysicalOffsetY);
  sheet.printableWidth = GetDeviceCaps(handle, DeviceCap::HorzRes);
  sheet.printableHeight = GetDeviceCaps(handle, DeviceCap::VertRes);
  return sheet;
}

PrinterSpooler* CurrentPrinter() { return currentPrinter; }
void SetCurrentPrinter(PrinterSpooler* spooler) { currentPrinter = spooler; }

void ProcessPendingMessages() {
  if (Pump()) Pump()();
}

void SetMessagePump(std::function<void()> pump) { Pump() = std::move(pump); }

}  // namespace talmeko::platform
