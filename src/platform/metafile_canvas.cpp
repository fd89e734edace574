#include "platform/metafile_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace talmeko::platform {
namespace {

using Kind = RecordedCommand::Kind;

// Pages hold thousands of commands; they stay seven words each.
static_assert(sizeof(RecordedCommand) <= 28);

// One axis of a mapping: device = (logical - org) * viewport / window + viewportOrg.
struct Axis {
  std::int64_t org;
  std::int64_t window;
  std::int64_t viewportOrg;
  std::int64_t viewport;
};

bool IsOneToOne(const Mapping& m) { return !m.anisotropic || m.windowExt.width == 0 || m.windowExt.height == 0; }

Axis XAxis(const Mapping& m) {
  if (IsOneToOne(m)) return {0, 1, 0, 1};
  return {m.windowOrg.x, m.windowExt.width, m.viewportOrg.x, m.viewportExt.width};
}

Axis YAxis(const Mapping& m) {
  if (IsOneToOne(m)) return {0, 1, 0, 1};
  return {m.windowOrg.y, m.windowExt.height, m.viewportOrg.y, m.viewportExt.height};
}

// n / d rounded to the nearest integer, halves away from zero; d is not zero.
std::int64_t RoundDiv(std::int64_t n, std::int64_t d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
}

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Reduces the ratio viewport / window to its lowest terms, and where that
// still does not fit the canvas's integers, halves both until it does.
void ReduceExtents(std::int64_t& window, std::int64_t& viewport) {
  const std::int64_t g = std::gcd(window, viewport);
  if (g > 1) {
    window /= g;
    viewport /= g;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  while (std::llabs(window) > kMax || std::llabs(viewport) > kMax) {
    window /= 2;
    viewport /= 2;
  }
  if (window == 0) window = 1;
}

Axis ComposeAxis(const Axis& outer, const Axis& inner) {
  Axis r{inner.org, inner.window * outer.window, 0, inner.viewport * outer.viewport};
  r.viewportOrg = RoundDiv((inner.viewportOrg - outer.org) * outer.viewport, outer.window) + outer.viewportOrg;
  ReduceExtents(r.window, r.viewport);
  return r;
}

std::int32_t MapCoordinate(const Axis& a, std::int32_t v) {
  return Clamp32(RoundDiv((v - a.org) * a.viewport, a.window) + a.viewportOrg);
}

Rect MapRect(const Mapping& m, const Rect& r) {
  const Axis x = XAxis(m);
  const Axis y = YAxis(m);
  const int l = MapCoordinate(x, r.left);
  const int rr = MapCoordinate(x, r.right);
  const int t = MapCoordinate(y, r.top);
  const int b = MapCoordinate(y, r.bottom);
  return {std::min(l, rr), std::min(t, b), std::max(l, rr), std::max(t, b)};
}

Rect Intersection(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) r = {r.left, r.top, r.left, r.top};
  return r;
}

Rect RectOf(const RecordedCommand& c) { return {c.a, c.b, c.c, c.d}; }

}  // namespace

Mapping ComposeMappings(const Mapping& outer, const Mapping& inner) {
  const Axis x = ComposeAxis(XAxis(outer), XAxis(inner));
  const Axis y = ComposeAxis(YAxis(outer), YAxis(inner));
  Mapping m;
  m.anisotropic = true;
  m.windowOrg = {Clamp32(x.org), Clamp32(y.org)};
  m.windowExt = {Clamp32(x.window), Clamp32(y.window)};
  m.viewportOrg = {Clamp32(x.viewportOrg), Clamp32(y.viewportOrg)};
  m.viewportExt = {Clamp32(x.viewport), Clamp32(y.viewport)};
  return m;
}

std::u16string_view RecordedPage::TextOf(const RecordedCommand& text) const {
  return std::u16string_view(texts_).substr(static_cast<std::size_t>(text.c), static_cast<std::size_t>(text.d));
}

std::size_t RecordedPage::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + commands_.capacity() * sizeof(RecordedCommand) +
                      texts_.capacity() * sizeof(char16_t) + fonts_.capacity() * sizeof(FontDesc) +
                      mappings_.capacity() * sizeof(Mapping);
  for (const FontDesc& f : fonts_) bytes += f.family.capacity();
  return bytes;
}

std::int32_t RecordedPage::FontIndex(const FontDesc& font) {
  const auto it = std::find(fonts_.begin(), fonts_.end(), font);
  if (it != fonts_.end()) return static_cast<std::int32_t>(it - fonts_.begin());
  fonts_.push_back(font);
  return static_cast<std::int32_t>(fonts_.size() - 1);
}

void RecordedPage::Complete() {
  commands_.shrink_to_fit();
  texts_.shrink_to_fit();
  fonts_.shrink_to_fit();
  mappings_.shrink_to_fit();
}

MetafileCanvas::MetafileCanvas(RecordedPage& page, Canvas& reference) : page_(page), reference_(reference) {
  // Every page starts from the default font and device units, on the
  // reference as on replay, whatever the reference was left in before.
  reference_.Save();
  reference_.SelectFont(FontDesc{});
  reference_.SetMapping(Mapping{});
}

MetafileCanvas::~MetafileCanvas() {
  for (; depth_ >= 0; --depth_) reference_.Restore();
  page_.Complete();
}

void MetafileCanvas::SelectFont(const FontDesc& font) {
  page_.Add({.kind = Kind::Font, .a = page_.FontIndex(font)});
  reference_.SelectFont(font);
}

void MetafileCanvas::DrawText(int x, int y, std::u16string_view text, Color color, Color background) {
  const auto offset = static_cast<std::int32_t>(page_.texts_.size());
  page_.texts_.append(text);
  page_.Add({.kind = Kind::Text,
             .a = x,
             .b = y,
             .c = offset,
             .d = static_cast<std::int32_t>(text.size()),
             .color = color,
             .extra = background});
}

void MetafileCanvas::AddRect(Kind kind, const Rect& r, Color color) {
  page_.Add({.kind = kind, .a = r.left, .b = r.top, .c = r.right, .d = r.bottom, .color = color});
}

void MetafileCanvas::FillRect(const Rect& rect, Color color) { AddRect(Kind::Fill, rect, color); }
void MetafileCanvas::FrameRect(const Rect& rect, Color color) { AddRect(Kind::Frame, rect, color); }

void MetafileCanvas::DrawLine(Point from, Point to, Color color, int width) {
  page_.Add({.kind = Kind::Line,
             .a = from.x,
             .b = from.y,
             .c = to.x,
             .d = to.y,
             .color = color,
             .extra = static_cast<std::uint32_t>(width)});
}

void MetafileCanvas::IntersectClip(const Rect& rect) { AddRect(Kind::Clip, rect); }
void MetafileCanvas::SelectDeviceClip(const Rect& deviceRect) { AddRect(Kind::DeviceClip, deviceRect); }

void MetafileCanvas::SetMapping(const Mapping& mapping) {
  page_.mappings_.push_back(mapping);
  page_.Add({.kind = Kind::Mapping, .a = static_cast<std::int32_t>(page_.mappings_.size() - 1)});
  reference_.SetMapping(mapping);
}

void MetafileCanvas::Save() {
  page_.Add({.kind = Kind::Save});
  reference_.Save();
  ++depth_;
}

// A restore without a matching save would pop the reference's own state, so
// it is neither passed on nor recorded.
void MetafileCanvas::Restore() {
  if (depth_ == 0) return;
  page_.Add({.kind = Kind::Restore});
  reference_.Restore();
  --depth_;
}

void MetafileCanvas::SetBrushStyle(BrushStyle style) {
  brush_ = style;
  page_.Add({.kind = Kind::Brush, .a = static_cast<std::int32_t>(style)});
}

namespace {

// Plays the commands of one page under the page-to-device mapping; keeps
// the saves it makes balanced, whatever the recording did.
class PageReplay {
 public:
  PageReplay(const RecordedPage& page, Canvas& target, const Mapping& pageToDevice, const Rect& intoDevice)
      : page_(page), target_(target), pageToDevice_(pageToDevice), intoDevice_(intoDevice) {}

  void Run() {
    target_.SetMapping(pageToDevice_);
    target_.SelectFont(FontDesc{});
    for (const RecordedCommand& c : page_.Commands()) Play(c);
    for (; depth_ > 0; --depth_) target_.Restore();
  }

 private:
  void Play(const RecordedCommand& c) {
    switch (c.kind) {
      case Kind::Font: target_.SelectFont(page_.FontOf(c)); break;
      case Kind::Text: target_.DrawText(c.a, c.b, page_.TextOf(c), c.color, c.extra); break;
      case Kind::Fill: target_.FillRect(RectOf(c), c.color); break;
      case Kind::Frame: target_.FrameRect(RectOf(c), c.color); break;
      case Kind::Line: target_.DrawLine({c.a, c.b}, {c.c, c.d}, c.color, static_cast<int>(c.extra)); break;
      case Kind::Clip: target_.IntersectClip(RectOf(c)); break;
      case Kind::DeviceClip: target_.SelectDeviceClip(Intersection(MapRect(pageToDevice_, RectOf(c)), intoDevice_)); break;
      case Kind::Mapping: target_.SetMapping(ComposeMappings(pageToDevice_, page_.MappingOf(c))); break;
      case Kind::Save:
        target_.Save();
        ++depth_;
        break;
      case Kind::Restore:
        if (depth_ == 0) break;
        target_.Restore();
        --depth_;
        break;
      case Kind::Brush: break;  // the canvas interface has no brush to set
    }
  }

  const RecordedPage& page_;
  Canvas& target_;
  const Mapping& pageToDevice_;
  const Rect& intoDevice_;
  int depth_ = 0;
};

}  // namespace

void ReplayPage(const RecordedPage& page, Canvas& target, const Rect& into, const Mapping& targetMapping) {
  const Size extent = page.Extent();
  if (extent.width <= 0 || extent.height <= 0 || into.IsEmpty()) return;
  Mapping scaling;
  scaling.anisotropic = true;
  scaling.windowExt = extent;
  scaling.viewportOrg = {into.left, into.top};
  scaling.viewportExt = {into.Width(), into.Height()};
  const Mapping pageToDevice = ComposeMappings(targetMapping, scaling);
  const Rect intoDevice = MapRect(targetMapping, into);

  CanvasStateGuard guard(target);
  target.IntersectClip(into);
  PageReplay(page, target, pageToDevice, intoDevice).Run();
}

}  // namespace talmeko::platform
