#include "platform/qt/qt_font_cache.h"

#include <QPaintDevice>
#include <QString>

#include <algorithm>

#include "platform/qt/qt_text.h"

namespace talmeko::platform::qt {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

FontMetrics MetricsOf(const FontDesc& desc, const QFont& font, const QFontMetrics& qm) {
  FontMetrics m;
  m.ascent = qm.ascent();
  m.descent = qm.descent();
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(0, m.height - font.pixelSize());
  m.externalLeading = std::max(0, qm.leading());
  m.aveCharWidth = qm.averageCharWidth();
  m.maxCharWidth = qm.maxWidth();
  // DEFAULT_CHARSET stands for the system code page, which for this program is
  // Windows-1251; the fonts it uses all cover Cyrillic.
  m.charSet = desc.charSet == kDefaultCharset ? kRussianCharset : desc.charSet;
  return m;
}

}  // namespace

QFont MakeQFont(const FontDesc& desc) {
  QFont font(FromCp1251(desc.family));
  font.setPixelSize(std::max(1, desc.height));
  const int weight = desc.weight <= 0 ? kFwNormal : std::clamp(desc.weight, 1, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(desc.italic);
  font.setUnderline(desc.underline);
  font.setStrikeOut(desc.strikeOut);
  // Text is measured as the sum of its glyph advances; kerning would draw it
  // narrower than it was laid out.
  font.setKerning(false);
  return font;
}

QtFontEntry::QtFontEntry(const FontDesc& desc, QPaintDevice* device)
    : font_(MakeQFont(desc)), qtMetrics_(font_, device), metrics_(MetricsOf(desc, font_, qtMetrics_)) {}

int QtFontEntry::Advance(char16_t ch) {
  auto& page = pages_[ch >> 8];
  if (!page) {
    page = std::make_unique<Page>();
    page->fill(kUnknown);
  }
  std::int32_t& slot = (*page)[ch & 0xFF];
  if (slot == kUnknown) slot = qtMetrics_.horizontalAdvance(QChar(ch));
  return slot;
}

int QtFontEntry::TextWidth(std::u16string_view text) {
  int width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      width += qtMetrics_.horizontalAdvance(FromUtf16(text.substr(i, 2)));
      ++i;
    } else {
      width += Advance(ch);
    }
  }
  return width;
}

const QRawFont& QtFontEntry::RawFont() {
  if (!rawMade_) {
    raw_ = QRawFont::fromFont(font_);
    rawMade_ = true;
  }
  return raw_;
}

QtFontCache& QtFontCache::Instance() {
  static QtFontCache cache;
  return cache;
}

QtFontEntry& QtFontCache::Get(const FontDesc& desc, QPaintDevice* device) {
  Key key{desc, device ? device->logicalDpiX() : 0, device ? device->logicalDpiY() : 0};
  auto it = entries_.find(key);
  if (it == entries_.end()) {
    it = entries_.emplace(std::move(key), std::make_unique<QtFontEntry>(desc, device)).first;
  }
  return *it->second;
}

}  // namespace talmeko::platform::qt
