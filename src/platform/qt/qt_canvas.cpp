#include "platform/qt/qt_canvas.h"

#include <QColor>
#include <QGlyphRun>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <algorithm>

#include "platform/qt/qt_font_cache.h"
#include "platform/qt/qt_text.h"

namespace talmeko::platform::qt {
namespace {

bool IsSurrogatePair(std::u16string_view text, std::size_t i) {
  return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
         text[i + 1] <= 0xDFFF;
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Device point = (logical - window origin) * viewport extent / window extent + viewport origin.
QTransform MappingTransform(const Mapping& m) {
  if (!m.anisotropic || m.windowExt.width == 0 || m.windowExt.height == 0) return QTransform();
  const double sx = static_cast<double>(m.viewportExt.width) / m.windowExt.width;
  const double sy = static_cast<double>(m.viewportExt.height) / m.windowExt.height;
  return QTransform(sx, 0, 0, sy, m.viewportOrg.x - m.windowOrg.x * sx, m.viewportOrg.y - m.windowOrg.y * sy);
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const ScreenInfo& screen)
    : painter_(painter), screen_(screen), base_(painter.worldTransform()) {}

QtCanvas::~QtCanvas() {
  // Leave the painter as balanced as it was handed over, whatever the caller forgot.
  while (!saved_.empty()) Restore();
}

QtFontEntry& QtCanvas::CurrentFont() {
  if (!font_) SelectFont(FontDesc{});
  return *font_;
}

void QtCanvas::SelectFont(const FontDesc& font) {
  QtFontEntry& entry = QtFontCache::Instance().Get(font, painter_.device());
  if (&entry == font_) return;
  font_ = &entry;
  painter_.setFont(entry.Font());
}

FontMetrics QtCanvas::GetFontMetrics() { return CurrentFont().Metrics(); }

int QtCanvas::TextWidth(std::u16string_view text) { return CurrentFont().TextWidth(text); }

void QtCanvas::DrawText(int x, int y, std::u16string_view text, Color color, Color background) {
  QtFontEntry& font = CurrentFont();
  if (background != kNoColor) {
    painter_.fillRect(QRect(x, y, font.TextWidth(text), font.Metrics().height), ToQColor(background));
  }
  painter_.setPen(ToQColor(color));
  DrawMeasuredGlyphs(font, x, y + font.Metrics().ascent, text);
}

// Every character stands where layout measured it: after the sum of the
// whole-pixel advances before it. Qt's own text drawing adds fractional
// advances, so a long run would end past its cell and be clipped.
void QtCanvas::DrawMeasuredGlyphs(QtFontEntry& font, int x, int baseline, std::u16string_view text) {
  const QRawFont& raw = font.RawFont();
  QList<quint32> found(static_cast<qsizetype>(text.size()));
  int count = static_cast<int>(found.size());
  if (!raw.isValid() ||
      !raw.glyphIndexesForChars(reinterpret_cast<const QChar*>(text.data()), static_cast<int>(text.size()),
                                found.data(), &count)) {
    count = 0;
  }
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(count);
  positions.reserve(count);
  long long pen = x;
  int glyph = 0;
  for (std::size_t i = 0; i < text.size(); ++glyph) {
    const std::size_t length = IsSurrogatePair(text, i) ? 2 : 1;
    const std::u16string_view character = text.substr(i, length);
    const quint32 index = glyph < count ? found[glyph] : 0;
    if (index != 0) {
      glyphs.push_back(index);
      positions.push_back(QPointF(static_cast<double>(pen - x), 0));
    } else if (character.front() != u' ') {
      // Characters the font lacks are left to Qt's fallback fonts.
      painter_.drawText(QPointF(static_cast<double>(pen), baseline), FromUtf16(character));
    }
    pen += font.TextWidth(character);
    i += length;
  }
  if (glyphs.isEmpty()) return;
  QGlyphRun run;
  run.setRawFont(raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  run.setUnderline(font.Font().underline());
  run.setStrikeOut(font.Font().strikeOut());
  painter_.drawGlyphRun(QPointF(x, baseline), run);
}

void QtCanvas::FillRect(const Rect& rect, Color color) {
  if (color == kNoColor || rect.IsEmpty()) return;
  painter_.fillRect(ToQRect(rect), ToQColor(color));
}

// A one-pixel frame just inside the rectangle, as four fills, so it covers
// exactly the rectangle's edge pixels at any pen setting.
void QtCanvas::FrameRect(const Rect& rect, Color color) {
  if (color == kNoColor || rect.IsEmpty()) return;
  const QColor c = ToQColor(color);
  const int w = rect.Width();
  const int h = rect.Height();
  painter_.fillRect(QRect(rect.left, rect.top, w, 1), c);
  painter_.fillRect(QRect(rect.left, rect.bottom - 1, w, 1), c);
  painter_.fillRect(QRect(rect.left, rect.top, 1, h), c);
  painter_.fillRect(QRect(rect.right - 1, rect.top, 1, h), c);
}

void QtCanvas::DrawLine(Point from, Point to, Color color, int width) {
  if (color == kNoColor) return;
  QPen pen(ToQColor(color));
  pen.setWidth(std::max(1, width));
  pen.setCapStyle(Qt::FlatCap);
  painter_.setPen(pen);
  painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void QtCanvas::IntersectClip(const Rect& rect) {
  // Without a clip the painter treats an intersection as a replacement, which
  // is the intersection with the whole device.
  painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
}

void QtCanvas::SelectDeviceClip(const Rect& deviceRect) {
  // The painter keeps its clip in device terms once set, so the rectangle is
  // given under the device mapping alone and the logical mapping put back.
  const QTransform logical = painter_.worldTransform();
  painter_.setWorldTransform(base_);
  painter_.setClipRect(ToQRect(deviceRect), Qt::ReplaceClip);
  painter_.setWorldTransform(logical);
}

void QtCanvas::SetMapping(const Mapping& mapping) {
  mapping_ = mapping;
  painter_.setWorldTransform(MappingTransform(mapping) * base_);
}

void QtCanvas::Save() {
  saved_.push_back({font_, mapping_});
  painter_.save();
}

void QtCanvas::Restore() {
  if (saved_.empty()) return;
  painter_.restore();
  font_ = saved_.back().font;
  mapping_ = saved_.back().mapping;
  saved_.pop_back();
}

QColor QtCanvas::ToQColor(Color c) const {
  const Color rgb = ResolveColor(c, screen_);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

}  // namespace talmeko::platform::qt
