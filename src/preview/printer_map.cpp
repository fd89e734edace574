#include "preview/printer_map.h"

#include <algorithm>

namespace talmeko::preview {
namespace {

auto WithHandle(platform::PrinterHandle handle) {
  return [handle](const TMapItem& item) { return item.handle == handle; };
}

}  // namespace

TvwPrinter* TMap::Find(platform::PrinterHandle handle) const {
  auto it = std::find_if(items_.begin(), items_.end(), WithHandle(handle));
  return it != items_.end() ? it->printer : nullptr;
}

TvwPrinter* TMap::Store(platform::PrinterHandle handle, TvwPrinter* printer) {
  auto it = std::find_if(items_.begin(), items_.end(), WithHandle(handle));
  if (it == items_.end()) {
    items_.push_back({handle, printer});
    return nullptr;
  }
  TvwPrinter* previous = it->printer;
  it->printer = printer;
  return previous;
}

TvwPrinter* TMap::Remove(platform::PrinterHandle handle) {
  auto it = std::find_if(items_.begin(), items_.end(), WithHandle(handle));
  if (it == items_.end()) return nullptr;
  TvwPrinter* printer = it->printer;
  items_.erase(it);
  return printer;
}

TMap& PrinterMap() {
  static TMap map;
  return map;
}

}  // namespace talmeko::preview
