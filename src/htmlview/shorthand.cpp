#include "htmlview/shorthand.h"

#include <array>
#include <string>

#include "htmlview/colors.h"

namespace talmeko::htmlview {
namespace {

// Splits at spaces outside parentheses into at most N words.
template <std::size_t N>
std::size_t SplitWords(std::string_view value, std::array<std::string_view, N>& words) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < value.size() && count < N) {
    while (i < value.size() && value[i] == ' ') ++i;
    if (i >= value.size()) break;
    const std::size_t start = i;
    int depth = 0;
    while (i < value.size() && (value[i] != ' ' || depth > 0)) {
      if (value[i] == '(') ++depth;
      else if (value[i] == ')' && depth > 0) --depth;
      ++i;
    }
    words[count++] = value.substr(start, i - start);
  }
  return count;
}

// margin, padding, border-width, border-color, border-style: one to four
// values for top, right, bottom and left.
void ExpandFourSides(std::string_view value, const std::array<PropIndex, 4>& sides, TPropertySink& sink) {
  std::array<std::string_view, 4> w;
  const std::size_t n = SplitWords(value, w);
  if (n == 0) return;
  const std::string_view top = w[0];
  const std::string_view right = n > 1 ? w[1] : top;
  const std::string_view bottom = n > 2 ? w[2] : top;
  const std::string_view left = n > 3 ? w[3] : right;
  sink.Store(sides[0], top);
  sink.Store(sides[1], right);
  sink.Store(sides[2], bottom);
  sink.Store(sides[3], left);
}

bool IsWidthWord(std::string_view w) {
  return w == "thin" || w == "medium" || w == "thick" || (w[0] >= '0' && w[0] <= '9') || w[0] == '.';
}

// border and border-top and its siblings: width, style and colour in any order.
void ExpandBorder(std::string_view value, std::initializer_list<int> sides, TPropertySink& sink) {
  std::array<std::string_view, 6> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    for (int side : sides) {
      if (BorderStyleFromText(w[k]) >= 0) sink.Store(static_cast<PropIndex>(BorderTopStyle + side), w[k]);
      else if (IsWidthWord(w[k])) sink.Store(static_cast<PropIndex>(BorderTopWidth + side), w[k]);
      else sink.Store(static_cast<PropIndex>(BorderTopColor + side), w[k]);
    }
  }
}

void ExpandBackground(std::string_view value, TPropertySink& sink) {
  std::string_view color = "transparent";
  std::string_view image = "none";
  std::string_view repeat = "repeat";
  std::string_view attachment = "scroll";
  std::string position;
  std::array<std::string_view, 6> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    platform::Color c;
    if (ColorFromString(w[k], true, c)) color = w[k];
    else if (w[k] == "none" || w[k].substr(0, 4) == "url(") image = w[k];
    else if (w[k].find("repeat") != std::string_view::npos) repeat = w[k];
    else if (w[k] == "fixed" || w[k] == "scroll") attachment = w[k];
    else {
      if (!position.empty()) position += ' ';
      position.append(w[k]);
    }
  }
  sink.Store(BackgroundColor, color);
  sink.Store(BackgroundImage, image);
  sink.Store(BackgroundRepeat, repeat);
  sink.Store(BackgroundAttachment, attachment);
  sink.Store(BackgroundPosition, position.empty() ? std::string_view("0% 0%") : std::string_view(position));
}

bool IsFontSizeWord(std::string_view w) {
  static constexpr std::string_view kSizes[] = {"xx-small", "x-small", "small", "medium", "large",
                                                "x-large", "xx-large", "larger", "smaller"};
  for (auto s : kSizes) {
    if (w == s) return true;
  }
  return (w[0] >= '0' && w[0] <= '9') || w[0] == '.';
}

bool IsWeightWord(std::string_view w) {
  return w == "bold" || w == "bolder" || w == "lighter" ||
         (w.size() == 3 && w[0] >= '1' && w[0] <= '9' && w[1] == '0' && w[2] == '0');
}

// font: [style] [variant] [weight] size[/line-height] family, family...
void ExpandFont(std::string_view value, TPropertySink& sink) {
  std::size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && value[i] == ' ') ++i;
    std::size_t j = i;
    while (j < value.size() && value[j] != ' ') ++j;
    const std::string_view w = value.substr(i, j - i);
    if (w.empty()) break;
    if (w == "italic" || w == "oblique") sink.Store(FontStyle, w);
    else if (w == "small-caps") sink.Store(FontVariant, w);
    else if (IsWeightWord(w)) sink.Store(FontWeight, w);
    else if (w == "normal") {
    } else if (IsFontSizeWord(w)) {
      const std::size_t slash = w.find('/');
      sink.Store(FontSize, w.substr(0, slash));
      if (slash != std::string_view::npos) sink.Store(LineHeight, w.substr(slash + 1));
      std::string_view family = value.substr(j);
      while (!family.empty() && family.front() == ' ') family.remove_prefix(1);
      if (!family.empty()) sink.Store(FontFamily, family);
      return;
    } else {
      return;
    }
    i = j;
  }
}

void ExpandListStyle(std::string_view value, TPropertySink& sink) {
  std::array<std::string_view, 3> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    if (w[k].substr(0, 4) == "url(") sink.Store(ListStyleImage, w[k]);
    else if (w[k] != "inside" && w[k] != "outside") sink.Store(ListStyleType, w[k]);
  }
}

bool StoreCoded(PropIndex index, std::string_view v, TPropValue& out) {
  if (index == Visibility) {
    if (v == "visible") out = TPropValue::MakeInt(kVisibilityVisible);
    else if (v == "hidden" || v == "collapse") out = TPropValue::MakeInt(kVisibilityHidden);
    else if (v == "inherit") out = TPropValue::MakeInt(kVisibilityInherit);
    else return false;
  } else if (index == TextTransform) {
    if (v == "none") out = TPropValue::MakeInt(kTextTransformNone);
    else if (v == "uppercase") out = TPropValue::MakeInt(kTextTransformUpper);
    else if (v == "lowercase") out = TPropValue::MakeInt(kTextTransformLower);
    else if (v == "capitalize") out = TPropValue::MakeInt(kTextTransformCaps);
    else return false;
  } else if (index == WordWrap) {
    if (v == "normal") out = TPropValue::MakeText("normal");
    else if (v == "break-word") out = TPropValue::MakeText("break-word");
    else return false;
  } else {
    if (v == "normal") out = TPropValue::MakeText("normal");
    else if (v == "small-caps") out = TPropValue::MakeText("small-caps");
    else return false;
  }
  return true;
}

}  // namespace

void ExpandDeclaration(std::string_view name, std::string_view value, TPropertySink& sink) {
  if (name == "margin") return ExpandFourSides(value, {MarginTop, MarginRight, MarginBottom, MarginLeft}, sink);
  if (name == "padding") {
    return ExpandFourSides(value, {PaddingTop, PaddingRight, PaddingBottom, PaddingLeft}, sink);
  }
  if (name == "border-width") {
    return ExpandFourSides(value, {BorderTopWidth, BorderRightWidth, BorderBottomWidth, BorderLeftWidth}, sink);
  }
  if (name == "border-color") {
    return ExpandFourSides(value, {BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor}, sink);
  }
  if (name == "border-style") {
    return ExpandFourSides(value, {BorderTopStyle, BorderRightStyle, BorderBottomStyle, BorderLeftStyle}, sink);
  }
  if (name == "border") return ExpandBorder(value, {0, 1, 2, 3}, sink);
  if (name == "border-top") return ExpandBorder(value, {0}, sink);
  if (name == "border-right") return ExpandBorder(value, {1}, sink);
  if (name == "border-bottom") return ExpandBorder(value, {2}, sink);
  if (name == "border-left") return ExpandBorder(value, {3}, sink);
  if (name == "font") return ExpandFont(value, sink);
  if (name == "background") return ExpandBackground(value, sink);
  if (name == "list-style") return ExpandListStyle(value, sink);
  PropIndex index;
  if (LookupProperty(name, index)) sink.Store(index, value);
}

bool ConvertDeclaredValue(PropIndex index, std::string_view value, TDeclarationSource source,
                          TTextPool& pool, TPropValue& out) {
  platform::Color c = 0;
  switch (index) {
    case Color:
      if (ColorFromString(value, false, c)) out = TPropValue::MakeInt(c);
      else if (source == TDeclarationSource::StyleAttribute) out = TPropValue::MakeInt(0);
      else return false;
      return true;
    case BackgroundColor:
      out = TPropValue::MakeInt(ColorFromString(value, false, c) ? c : platform::kNoColor);
      return true;
    case BorderTopColor:
    case BorderRightColor:
    case BorderBottomColor:
    case BorderLeftColor:
      if (!ColorFromString(value, false, c)) return false;
      out = TPropValue::MakeInt(c);
      return true;
    case Visibility:
    case TextTransform:
    case WordWrap:
    case FontVariant:
      return StoreCoded(index, value, out);
    default:
      out = TPropValue::MakeText(pool.Store(value));
      return true;
  }
}

}  // namespace talmeko::htmlview
