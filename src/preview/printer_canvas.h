#pragma once
// The drawing surface of the system-printer page canvas. It draws on whatever
// context its printer holds: an information context for measuring before a
// document is open, the device context while one is.

#include <optional>
#include <vector>

#include "platform/canvas.h"
#include "platform/printer_spooler.h"

namespace talmeko::preview {

class TvwPrinter;

class TPrinterCanvas final : public platform::Canvas {
 public:
  explicit TPrinterCanvas(TvwPrinter& printer) : vwPrinter(printer) {}
  TPrinterCanvas(const TPrinterCanvas&) = delete;
  TPrinterCanvas& operator=(const TPrinterCanvas&) = delete;

  TvwPrinter& vwPrinter;

  // The context drawn on, made when first needed.
  platform::PrinterHandle Handle();
  void SetHandle(platform::PrinterHandle handle) { handle_ = handle; }
  // The font and mapping are given to the device again on their next use:
  // a new page or a new context starts from the device's defaults.
  void Refresh() { selectedInto_ = nullptr; }

  void SelectFont(const platform::FontDesc& font) override;
  platform::FontMetrics GetFontMetrics() override;
  int TextWidth(std::u16string_view text) override;
  bool WidthsAdd() const override;
  void DrawText(int x, int y, std::u16string_view text, platform::Color color,
                platform::Color background = platform::kNoColor) override;
  void FillRect(const platform::Rect& rect, platform::Color color) override;
  void FrameRect(const platform::Rect& rect, platform::Color color) override;
  void DrawLine(platform::Point from, platform::Point to, platform::Color color, int width = 1) override;
  void IntersectClip(const platform::Rect& rect) override;
  void SelectDeviceClip(const platform::Rect& deviceRect) override;
  void SetMapping(const platform::Mapping& mapping) override;
  void Save() override;
  void Restore() override;

 private:
  void CreateHandle();
  // Every drawing call passes here first: drawing needs an open document.
  void Changing();
  // The context's own surface, with this canvas's font and mapping in force.
  platform::Canvas& Device();

  platform::PrinterHandle handle_ = platform::kNoPrinterHandle;
  platform::Canvas* selectedInto_ = nullptr;
  std::optional<platform::FontDesc> font_;
  platform::Mapping mapping_;
  struct SavedState {
    std::optional<platform::FontDesc> font;
    platform::Mapping mapping;
  };
  std::vector<SavedState> saved_;
};

}  // namespace talmeko::preview
