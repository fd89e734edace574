#include "preview/printer_canvas.h"

#include "htmlview/base/exceptions.h"
#include "preview/vw_printer.h"

namespace talmeko::preview {

void TPrinterCanvas::CreateHandle() {
  vwPrinter.SetHandleState(hsInfoContext);
  handle_ = vwPrinter.DeviceContext();
}

void TPrinterCanvas::Changing() { vwPrinter.VerifyPrinting(true); }

platform::PrinterHandle TPrinterCanvas::Handle() {
  if (handle_ == platform::kNoPrinterHandle) CreateHandle();
  return handle_;
}

platform::Canvas& TPrinterCanvas::Device() {
  platform::Canvas* device = vwPrinter.Spooler().CanvasOf(Handle());
  if (device == nullptr) throw htmlview::EPrinter("Printer selected is not valid");
  if (device != selectedInto_) {
    selectedInto_ = device;
    if (font_) device->SelectFont(*font_);
    if (mapping_ != platform::Mapping{}) device->SetMapping(mapping_);
  }
  return *device;
}

void TPrinterCanvas::SelectFont(const platform::FontDesc& font) {
  platform::Canvas& device = Device();
  font_ = font;
  device.SelectFont(font);
}

platform::FontMetrics TPrinterCanvas::GetFontMetrics() { return Device().GetFontMetrics(); }

int TPrinterCanvas::TextWidth(std::u16string_view text) { return Device().TextWidth(text); }

bool TPrinterCanvas::WidthsAdd() const {
  if (handle_ == platform::kNoPrinterHandle) return false;
  const platform::Canvas* device = vwPrinter.Spooler().CanvasOf(handle_);
  return device != nullptr && device->WidthsAdd();
}

void TPrinterCanvas::DrawText(int x, int y, std::u16string_view text, platform::Color color,
                              platform::Color background) {
  Changing();
  Device().DrawText(x, y, text, color, background);
}

void TPrinterCanvas::FillRect(const platform::Rect& rect, platform::Color color) {
  Changing();
  Device().FillRect(rect, color);
}

void TPrinterCanvas::FrameRect(const platform::Rect& rect, platform::Color color) {
  Changing();
  Device().FrameRect(rect, color);
}

void TPrinterCanvas::DrawLine(platform::Point from, platform::Point to, platform::Color color, int width) {
  Changing();
  Device().DrawLine(from, to, color, width);
}

void TPrinterCanvas::IntersectClip(const platform::Rect& rect) { Device().IntersectClip(rect); }

void TPrinterCanvas::SelectDeviceClip(const platform::Rect& deviceRect) { Device().SelectDeviceClip(deviceRect); }

void TPrinterCanvas::SetMapping(const platform::Mapping& mapping) {
  platform::Canvas& device = Device();
  mapping_ = mapping;
  device.SetMapping(mapping);
}

void TPrinterCanvas::Save() {
  Device().Save();
  saved_.push_back({font_, mapping_});
}

void TPrinterCanvas::Restore() {
  platform::Canvas& device = Device();
  device.Restore();
  if (saved_.empty()) return;
  font_ = saved_.back().font;
  mapping_ = saved_.back().mapping;
  saved_.pop_back();
}

}  // namespace talmeko::preview
