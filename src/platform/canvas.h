#pragma once
// The drawing surface. Layout measures text only through it, with the canvas it
// will draw on, so the screen, the printer and the page recorder lay out alike.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace talmeko::platform {

inline constexpr int kFwNormal = 400;
inline constexpr int kFwBold = 700;
inline constexpr int kDefaultCharset = 1;
inline constexpr int kAnsiCharset = 0;
inline constexpr int kRussianCharset = 204;

// What a font is asked for. Height is the character (em) height in device pixels.
struct FontDesc {
  std::string family;
  int height = 16;
  int weight = kFwNormal;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charSet = kDefaultCharset;
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

struct FontDescHash {
  std::size_t operator()(const FontDesc& f) const noexcept {
    std::size_t h = std::hash<std::string>{}(f.family);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(f.height));
    mix(static_cast<std::size_t>(f.weight));
    mix(static_cast<std::size_t>(f.italic) | (static_cast<std::size_t>(f.underline) << 1) |
        (static_cast<std::size_t>(f.strikeOut) << 2));
    mix(static_cast<std::size_t>(f.charSet));
    return h;
  }
};

// Metrics of the selected font, in the canvas's logical units.
struct FontMetrics {
  int height = 0;           // cell height: ascent + descent
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int charSet = kDefaultCharset;  // the character set actually obtained
  int EmHeight() const { return height - internalLeading; }
};

// How logical units map to device units: one to one, or anisotropic with
// window and viewport extents and origins (printing and the preview).
struct Mapping {
  bool anisotropic = false;
  Point windowOrg;
  Size windowExt{1, 1};
  Point viewportOrg;
  Size viewportExt{1, 1};
  friend bool operator==(const Mapping&, const Mapping&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SelectFont(const FontDesc& font) = 0;
  virtual FontMetrics GetFontMetrics() = 0;
  // Width of a run of text in the selected font.
  virtual int TextWidth(std::u16string_view text) = 0;
  // Whether the width of a text without surrogate pairs is always the sum of
  // its characters' widths, each measured alone. Layout measures every
  // character anyway; where this holds it adds them up rather than asking
  // again for the whole word.
  virtual bool WidthsAdd() const { return false; }
  // Draws text with its top-left corner at (x, y). The background is left
  // untouched unless a background colour other than kNoColor is given.
  virtual void DrawText(int x, int y, std::u16string_view text, Color color,
                        Color background = kNoColor) = 0;

  virtual void FillRect(const Rect& rect, Color color) = 0;
  virtual void FrameRect(const Rect& rect, Color color) = 0;
  virtual void DrawLine(Point from, Point to, Color color, int width = 1) = 0;

  // Limits drawing to the intersection of the current clip and the rectangle.
  virtual void IntersectClip(const Rect& rect) = 0;
  // Replaces the clip by a rectangle given in device units, whatever the
  // mapping: a printed page is clipped to its sheet's printable pixels.
  virtual void SelectDeviceClip(const Rect& deviceRect) = 0;
  virtual void SetMapping(const Mapping& mapping) = 0;

  // Saves clip, mapping and font; Restore returns to the last saved state.
  virtual void Save() = 0;
  virtual void Restore() = 0;
};

// Restores the canvas state on every way out of a scope.
class CanvasStateGuard {
 public:
  explicit CanvasStateGuard(Canvas& canvas) : canvas_(canvas) { canvas_.Save(); }
  ~CanvasStateGuard() { canvas_.Restore(); }
  CanvasStateGuard(const CanvasStateGuard&) = delete;
  CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace talmeko::platform
