#pragma once
// A surface that draws nothing: counting pages paints every page to find its
// breaks, and needs no picture of it.

#include "platform/canvas.h"

namespace talmeko::htmlview {

class TNullCanvas final : public platform::Canvas {
 public:
  void SelectFont(const platform::FontDesc&) override {}
  platform::FontMetrics GetFontMetrics() override { return {}; }
  int TextWidth(std::u16string_view) override { return 0; }
  void DrawText(int, int, std::u16string_view, platform::Color, platform::Color) override {}
  void FillRect(const platform::Rect&, platform::Color) override {}
  void FrameRect(const platform::Rect&, platform::Color) override {}
  void DrawLine(platform::Point, platform::Point, platform::Color, int) override {}
  void IntersectClip(const platform::Rect&) override {}
  void SelectDeviceClip(const platform::Rect&) override {}
  void SetMapping(const platform::Mapping&) override {}
  void Save() override {}
  void Restore() override {}
};

}  // namespace talmeko::htmlview
