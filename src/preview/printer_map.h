#pragma once
// Which system-printer page canvas owns which device context. The spooler's
// abort procedure gets only the context, and finds its printer here.

#include <vector>

#include "platform/printer_spooler.h"

namespace talmeko::preview {

class TvwPrinter;

struct TMapItem {
  platform::PrinterHandle handle = platform::kNoPrinterHandle;
  TvwPrinter* printer = nullptr;  // not owned
};

// A short list searched front to back: a process prints one job at a time.
class TMap {
 public:
  // The printer of the first entry for the handle, or null.
  TvwPrinter* Find(platform::PrinterHandle handle) const;
  // Registers the printer for the handle; answers the printer it replaces, or null.
  TvwPrinter* Store(platform::PrinterHandle handle, TvwPrinter* printer);
  // Forgets the first entry for the handle; answers its printer, or null.
  TvwPrinter* Remove(platform::PrinterHandle handle);
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<TMapItem> items_;
};

// The one registry of the process, made on first use and kept to its end.
TMap& PrinterMap();

}  // namespace talmeko::preview
