#pragma once
// Fonts, their metrics and their glyph advances, created once per font and
// device resolution and shared by every Qt canvas of the process. Layout
// measures the same few fonts thousands of times, so a known glyph is never
// measured twice.

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/canvas.h"

class QPaintDevice;

namespace talmeko::platform::qt {

class QtFontEntry {
 public:
  QtFontEntry(const FontDesc& desc, QPaintDevice* device);

  const QFont& Font() const { return font_; }
  const FontMetrics& Metrics() const { return metrics_; }
  int Advance(char16_t ch);
  int TextWidth(std::u16string_view text);
  // The font's glyphs, for drawing each at a position of our own.
  const QRawFont& RawFont();

 private:
  static constexpr std::int32_t kUnknown = -1;
  using Page = std::array<std::int32_t, 256>;

  QFont font_;
  QFontMetrics qtMetrics_;
  FontMetrics metrics_;
  QRawFont raw_;
  bool rawMade_ = false;
  // The Basic Multilingual Plane in pages of 256 characters, made on first use.
  std::array<std::unique_ptr<Page>, 256> pages_;
};

QFont MakeQFont(const FontDesc& desc);

// Used on the GUI thread only, like every other font of the program.
class QtFontCache {
 public:
  static QtFontCache& Instance();

  // The device decides the resolution the metrics are measured at; null means the screen.
  QtFontEntry& Get(const FontDesc& desc, QPaintDevice* device);
  std::size_t Size() const { return entries_.size(); }

 private:
  struct Key {
    FontDesc desc;
    int dpiX = 0;
    int dpiY = 0;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const noexcept {
      return FontDescHash{}(k.desc) ^ (static_cast<std::size_t>(k.dpiX) * 31u + static_cast<std::size_t>(k.dpiY));
    }
  };

  std::unordered_map<Key, std::unique_ptr<QtFontEntry>, KeyHash> entries_;
};

}  // namespace talmeko::platform::qt
