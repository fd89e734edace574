#include "htmlview/style/fonts.h"

#include <cmath>
#include <cstdlib>
#include <functional>

#include "htmlview/style/lengths.h"
#include "htmlview/style/properties.h"

namespace talmeko::htmlview {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string_view ReplaceGeneric(std::string_view name) {
  if (EqualsNoCase(name, "serif")) return "Times New Roman";
  if (EqualsNoCase(name, "monospace")) return "Courier New";
  if (EqualsNoCase(name, "sans-serif")) return "Arial";
  if (EqualsNoCase(name, "cursive")) return "Lucida Handwriting";
  if (EqualsNoCase(name, "helvetica")) return "Arial";
  return name;
}

std::string_view Unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    return s.substr(1, s.size() - 2);
  }
  return s;
}

bool IsBold(const TPropValue& weight) {
  if (weight.IsNumber()) return weight.Real() >= 600;
  const std::string_view w = weight.Text();
  if (w.find("bold") != std::string_view::npos) return true;
  if (w.empty() || w[0] < '0' || w[0] > '9') return false;
  return std::atoi(std::string(w.substr(0, 4)).c_str()) >= 600;
}

}  // namespace

std::size_t TFontInfoHash::operator()(const TFontInfo& f) const noexcept {
  std::size_t h = platform::FontDescHash{}(f.desc);
  h ^= std::hash<std::string>{}(f.family) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  h ^= std::hash<double>{}(f.sizePoints) + (h << 6) + (h >> 2);
  h ^= static_cast<std::size_t>(f.color) * 31 + static_cast<std::size_t>(f.letterSpacing);
  return h;
}

void FillFontMetrics(TMyFont& font, platform::Canvas& canvas) {
  canvas.SelectFont(font.desc);
  const platform::FontMetrics m = canvas.GetFontMetrics();
  font.tmHeight = m.height;
  font.tmDescent = m.descent;
  font.tmExternalLeading = m.externalLeading;
  font.tmAveCharWidth = m.aveCharWidth;
  font.tmMaxCharWidth = m.maxCharWidth;
  font.EmSize = m.EmHeight();
  font.ExSize = font.EmSize / 2;
  font.tmCharSet = m.charSet;
}

TFontCache& TFontCache::Instance() {
  static TFontCache cache;
  return cache;
}

const TFontInfo* TFontCache::Intern(const TFontInfo& font) {
  std::lock_guard<std::mutex> lock(mutex_);
  return &*fonts_.insert(font).first;
}

std::size_t TFontCache::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fonts_.size();
}

std::string TFontResolver::ResolveFamily(std::string_view familyList, std::string_view defaultFamily) {
  std::string key(familyList);
  key += '\0';
  key += defaultFamily;
  if (const auto it = families_.find(key); it != families_.end()) return it->second;
  std::string chosen(defaultFamily);
  std::string_view rest = familyList;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view part = Unquote(ReplaceGeneric(Trim(rest.substr(0, comma))));
    if (!part.empty() && catalogue_->IsInstalled(part)) {
      chosen = std::string(part);
      break;
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  families_.emplace(std::move(key), chosen);
  return chosen;
}

const TFontInfo* TFontResolver::FontOf(const TProperties& props) {
  if (const TFontInfo* cached = props.CachedFont()) return cached;
  TFontInfo f;
  f.family = ResolveFamily(props.TextOf(FontFamily), props.DefFontName);
  f.sizePoints = props.FontSizePoints(12);
  f.bold = IsBold(props[FontWeight]);
  const std::string_view style = props.TextOf(FontStyle);
  f.italic = style == "italic" || style == "oblique";
  const std::string_view decoration = props.TextOf(TextDecoration);
  f.underline = decoration.find("underline") != std::string_view::npos;
  f.strikeOut = decoration.find("line-through") != std::string_view::npos;
  f.color = props.GetTextColor();
  f.charSet = props.CharSet;
  TLengthContext ctx{pixelsPerInch_, f.sizePoints * pixelsPerInch_ / 72.0, f.sizePoints * pixelsPerInch_ / 144.0};
  int spacing = 0;
  if (ValueToPixels(props[LetterSpacing], 0, ctx, spacing)) f.letterSpacing = spacing;
  f.desc.family = f.family;
  f.desc.height = RoundToPixels(f.sizePoints * pixelsPerInch_ / 72.0);
  f.desc.weight = f.bold ? platform::kFwBold : platform::kFwNormal;
  f.desc.italic = f.italic;
  f.desc.underline = f.underline;
  f.desc.strikeOut = f.strikeOut;
  f.desc.charSet = f.charSet;
  const TFontInfo* interned = TFontCache::Instance().Intern(f);
  props.SetCachedFont(interned);
  return interned;
}

}  // namespace talmeko::htmlview
