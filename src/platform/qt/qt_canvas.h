#pragma once
// The drawing surface over a QPainter, so it works on whatever the painter
// paints on: the view's back buffer, an off-screen image or a printer.

#include <QTransform>

#include <vector>

#include "platform/canvas.h"
#include "platform/font_catalogue.h"

class QColor;
class QPainter;

namespace talmeko::platform::qt {

class QtFontEntry;

class QtCanvas final : public Canvas {
 public:
  // The painter's transformation at this moment is the device mapping that
  // SetMapping builds on. System colours are resolved through the screen facts.
  explicit QtCanvas(QPainter& painter, const ScreenInfo& screen = {});
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  void SelectFont(const FontDesc& font) override;
  FontMetrics GetFontMetrics() override;
  int TextWidth(std::u16string_view text) override;
  // Text is measured glyph by glyph, without kerning (see MakeQFont).
  bool WidthsAdd() const override { return true; }
  void DrawText(int x, int y, std::u16string_view text, Color color, Color background = kNoColor) override;

  void FillRect(const Rect& rect, Color color) override;
  void FrameRect(const Rect& rect, Color color) override;
  void DrawLine(Point from, Point to, Color color, int width = 1) override;

  void IntersectClip(const Rect& rect) override;
  void SelectDeviceClip(const Rect& deviceRect) override;
  void SetMapping(const Mapping& mapping) override;

  void Save() override;
  void Restore() override;

 private:
  struct SavedState {
    QtFontEntry* font;
    Mapping mapping;
  };

  QtFontEntry& CurrentFont();
  void DrawMeasuredGlyphs(QtFontEntry& font, int x, int baseline, std::u16string_view text);
  QColor ToQColor(Color c) const;

  QPainter& painter_;
  ScreenInfo screen_;
  QTransform base_;
  QtFontEntry* font_ = nullptr;
  Mapping mapping_;
  std::vector<SavedState> saved_;
};

}  // namespace talmeko::platform::qt
