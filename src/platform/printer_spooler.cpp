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

PrinterSpooler* CurrentPrinter() { return currentPrinter; }
void SetCurrentPrinter(PrinterSpooler* spooler) { currentPrinter = spooler; }

void ProcessPendingMessages() {
  if (Pump()) Pump()();
}

void SetMessagePump(std::function<void()> pump) { Pump() = std::move(pump); }

}  // namespace talmeko::platform
