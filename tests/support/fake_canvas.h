#pragma once
// Canvases for layout and painting tests, without a window system.
//
// FakeCanvas measures with fixed glyph widths so expected geometry can be
// worked out by hand. For a selected font of height h (the em height):
//   advance of a character = h / 2, unless SetGlyphWidth gave it another width
//   descent = h / 4, internal leading = h / 8, ascent = h - descent + internal leading,
//   cell height = ascent + descent = h + h / 8, external leading = ExternalLeading(),
//   average character width = h / 2, maximum character width = h.
// With the default 16-pixel font: advance 8, descent 4, internal leading 2,
// ascent 14, cell height 18, external leading 0.
//
// RecordingCanvas also writes every call as one text line (Dump joins them):
//   font Arial 16 w700 italic underline strike
//   text 12,7 'DMC' #000000            text drawn with its top-left at 12,7
//   text 12,7 'DMC' #FFFFFF on #000000 the same with a background
//   fill 10,5,60,20 #FF8800            rectangles are left,top,right,bottom
//   frame 10,5,60,20 #C0C0C0
//   line 0,0 10,0 #000000 w1
//   clip 0,0,100,50                    the rectangle intersected with the clip
//   dclip 0,0,100,50                   the clip replaced by a rectangle in device units
//   map text | map aniso win 0,0 100x100 view 0,0 50x50
//   save | restore
// Colours are written #RRGGBB; kNoColor as "none", system colours as "sys5".
// Text is written as UTF-8.

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/canvas.h"
#include "platform/cp1251.h"
#include "platform/geometry.h"

namespace talmeko::testing {

class FakeCanvas : public platform::Canvas {
 public:
  void SetGlyphWidth(char16_t ch, int width) { glyphWidths_[ch] = width; }
  void SetExternalLeading(int leading) { externalLeading_ = leading; }

  const platform::FontDesc& CurrentFont() const { return state_.font; }
  const platform::Rect& CurrentClip() const { return state_.clip; }
  bool HasClip() const { return state_.hasClip; }
  const platform::Mapping& CurrentMapping() const { return state_.mapping; }
  int SaveDepth() const { return static_cast<int>(saved_.size()); }
  int UnbalancedRestores() const { return unbalancedRestores_; }

  int GlyphWidth(char16_t ch) const {
    auto it = glyphWidths_.find(ch);
    return it != glyphWidths_.end() ? it->second : state_.font.height / 2;
  }

  void SelectFont(const platform::FontDesc& font) override { state_.font = font; }

  platform::FontMetrics GetFontMetrics() override {
    const int h = state_.font.height;
    platform::FontMetrics m;
    m.descent = h / 4;
    m.internalLeading = h / 8;
    m.ascent = h - m.descent + m.internalLeading;
    m.height = m.ascent + m.descent;
    m.externalLeading = externalLeading_;
    m.aveCharWidth = h / 2;
    m.maxCharWidth = h;
    m.charSet = state_.font.charSet;
    return m;
  }

  int TextWidth(std::u16string_view text) override {
    int width = 0;
    for (char16_t ch : text) width += GlyphWidth(ch);
    return width;
  }

  void DrawText(int, int, std::u16string_view, platform::Color, platform::Color = platform::kNoColor) override {}
  void FillRect(const platform::Rect&, platform::Color) override {}
  void FrameRect(const platform::Rect&, platform::Color) override {}
  void DrawLine(platform::Point, platform::Point, platform::Color, int = 1) override {}

  void IntersectClip(const platform::Rect& rect) override {
    if (!state_.hasClip) {
      state_.clip = rect;
      state_.hasClip = true;
      return;
    }
    platform::Rect& c = state_.clip;
    c = {c.left > rect.left ? c.left : rect.left, c.top > rect.top ? c.top : rect.top,
         c.right < rect.right ? c.right : rect.right, c.bottom < rect.bottom ? c.bottom : rect.bottom};
  }

  // Kept apart from the logical clip: the fake does not map coordinates.
  void SelectDeviceClip(const platform::Rect& deviceRect) override {
    state_.deviceClip = deviceRect;
    state_.hasDeviceClip = true;
  }
  const platform::Rect& CurrentDeviceClip() const { return state_.deviceClip; }
  bool HasDeviceClip() const { return state_.hasDeviceClip; }

  void SetMapping(const platform::Mapping& mapping) override { state_.mapping = mapping; }

  void Save() override { saved_.push_back(state_); }
  void Restore() override {
    if (saved_.empty()) {
      ++unbalancedRestores_;
      return;
    }
    state_ = saved_.back();
    saved_.pop_back();
  }

 private:
  struct State {
    platform::FontDesc font;
    platform::Rect clip;
    bool hasClip = false;
    platform::Rect deviceClip;
    bool hasDeviceClip = false;
    platform::Mapping mapping;
  };

  std::unordered_map<char16_t, int> glyphWidths_;
  int externalLeading_ = 0;
  State state_;
  std::vector<State> saved_;
  int unbalancedRestores_ = 0;
};

class RecordingCanvas : public FakeCanvas {
 public:
  const std::vector<std::string>& Commands() const { return commands_; }
  void ClearCommands() { commands_.clear(); }

  // All commands, or only those whose first word is one of the given kinds,
  // one per line with a line feed after each.
  std::string Dump(std::initializer_list<std::string_view> kinds = {}) const {
    std::string out;
    for (const std::string& c : commands_) {
      if (kinds.size() != 0 && !HasKind(c, kinds)) continue;
      out += c;
      out += '\n';
    }
    return out;
  }

  static std::string ColorText(platform::Color c) {
    if (c == platform::kNoColor) return "none";
    if (platform::IsSystemColor(c)) return "sys" + std::to_string(c & 0xFF);
    static const char kHex[] = "0123456789ABCDEF";
    std::string s = "#";
    for (int v : {platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)}) {
      s += kHex[v >> 4];
      s += kHex[v & 0xF];
    }
    return s;
  }

  static std::string RectText(const platform::Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  }

  static std::string Utf8(std::u16string_view text) { return platform::Utf16ToUtf8(text); }

  void SelectFont(const platform::FontDesc& font) override {
    FakeCanvas::SelectFont(font);
    std::string c = "font " + font.family + " " + std::to_string(font.height) + " w" + std::to_string(font.weight);
    if (font.italic) c += " italic";
    if (font.underline) c += " underline";
    if (font.strikeOut) c += " strike";
    commands_.push_back(std::move(c));
  }

  void DrawText(int x, int y, std::u16string_view text, platform::Color color,
                platform::Color background = platform::kNoColor) override {
    std::string c = "text " + std::to_string(x) + "," + std::to_string(y) + " '" + Utf8(text) + "' " + ColorText(color);
    if (background != platform::kNoColor) c += " on " + ColorText(background);
    commands_.push_back(std::move(c));
  }

  void FillRect(const platform::Rect& rect, platform::Color color) override {
    commands_.push_back("fill " + RectText(rect) + " " + ColorText(color));
  }

  void FrameRect(const platform::Rect& rect, platform::Color color) override {
    commands_.push_back("frame " + RectText(rect) + " " + ColorText(color));
  }

  void DrawLine(platform::Point from, platform::Point to, platform::Color color, int width = 1) override {
    commands_.push_back("line " + std::to_string(from.x) + "," + std::to_string(from.y) + " " + std::to_string(to.x) +
                        "," + std::to_string(to.y) + " " + ColorText(color) + " w" + std::to_string(width));
  }

  void IntersectClip(const platform::Rect& rect) override {
    FakeCanvas::IntersectClip(rect);
    commands_.push_back("clip " + RectText(rect));
  }

  void SelectDeviceClip(const platform::Rect& deviceRect) override {
    FakeCanvas::SelectDeviceClip(deviceRect);
    commands_.push_back("dclip " + RectText(deviceRect));
  }

  void SetMapping(const platform::Mapping& m) override {
    FakeCanvas::SetMapping(m);
    if (!m.anisotropic) {
      commands_.push_back("map text");
      return;
    }
    auto pt = [](platform::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
    auto sz = [](platform::Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); };
    commands_.push_back("map aniso win " + pt(m.windowOrg) + " " + sz(m.windowExt) + " view " + pt(m.viewportOrg) + " " +
                        sz(m.viewportExt));
  }

  void Save() override {
    FakeCanvas::Save();
    commands_.push_back("save");
  }

  void Restore() override {
    FakeCanvas::Restore();
    commands_.push_back("restore");
  }

 private:
  static bool HasKind(std::string_view command, std::initializer_list<std::string_view> kinds) {
    const std::string_view first = command.substr(0, command.find(' '));
    for (std::string_view k : kinds) {
      if (first == k) return true;
    }
    return false;
  }

  std::vector<std::string> commands_;
};

}  // namespace talmeko::testing
