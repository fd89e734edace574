#include "htmlview/shorthand.h"

#include <array>
#include <cstdint>
#include <string>

#include "htmlview/colors.h"
#include "htmlview/name_table.h"

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
    // Words without parentheses are the rule; only inside them does a
    // space not end the word.
    while (i < value.size() && value[i] != ' ' && value[i] != '(') ++i;
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
template <typename Sink>
void ExpandFourSides(std::string_view value, const std::array<PropIndex, 4>& sides, Sink& sink) {
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
template <typename Sink>
void ExpandBorder(std::string_view value, std::initializer_list<int> sides, Sink& sink) {
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

// The colour word is recognised here already, so its colour goes to the
// sink converted; the defaults are literals that need no copy.
template <typename Sink>
void ExpandBackground(std::string_view value, Sink& sink) {
  std::string_view color = "transparent";
  platform::Color colorValue = platform::kNoColor;
  std::string_view image;
  std::string_view repeat;
  std::string_view attachment;
  std::string position;
  std::array<std::string_view, 6> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    platform::Color c;
    if (ColorFromString(w[k], true, c)) {
      color = w[k];
      colorValue = c;
    } else if (w[k] == "none" || w[k].substr(0, 4) == "url(") {
      image = w[k];
    } else if (w[k].find("repeat") != std::string_view::npos) {
      repeat = w[k];
    } else if (w[k] == "fixed" || w[k] == "scroll") {
      attachment = w[k];
    } else {
      if (!position.empty()) position += ' ';
      position.append(w[k]);
    }
  }
  auto storeOrDefault = [&sink](PropIndex index, std::string_view given, std::string_view literal) {
    if (given.data() != nullptr) sink.Store(index, given);
    else sink.StoreValue(index, literal, TPropValue::MakeText(literal));
  };
  sink.StoreValue(BackgroundColor, color, TPropValue::MakeInt(colorValue));
  storeOrDefault(BackgroundImage, image, "none");
  storeOrDefault(BackgroundRepeat, repeat, "repeat");
  storeOrDefault(BackgroundAttachment, attachment, "scroll");
  if (position.empty()) sink.StoreValue(BackgroundPosition, "0% 0%", TPropValue::MakeText("0% 0%"));
  else sink.Store(BackgroundPosition, position);
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
template <typename Sink>
void ExpandFont(std::string_view value, Sink& sink) {
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

template <typename Sink>
void ExpandListStyle(std::string_view value, Sink& sink) {
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

// Shorthand names, numbered after the slots.
enum class TShorthand : std::int16_t {
  Margin = PropCount, Padding, BorderWidth, BorderColor, BorderStyle, Border, BorderTop, BorderRight,
  BorderBottom, BorderLeft, Font, Background, ListStyle
};

constexpr std::array<TNamedValue<std::int16_t>, PropCount + 13> DeclarationNames() {
  std::array<TNamedValue<std::int16_t>, PropCount + 13> names{};
  for (int i = 0; i < PropCount; ++i) {
    names[i] = {PropertyName(static_cast<PropIndex>(i)), static_cast<std::int16_t>(i)};
  }
  constexpr std::array<std::string_view, 13> kShorthands = {
      "margin", "padding", "border-width", "border-color", "border-style", "border", "border-top",
      "border-right", "border-bottom", "border-left", "font", "background", "list-style"};
  for (int k = 0; k < 13; ++k) names[PropCount + k] = {kShorthands[k], static_cast<std::int16_t>(PropCount + k)};
  return names;
}

constexpr TNameTable<std::int16_t, 256> kDeclarationNames(DeclarationNames());

// The sink is the abstract one, or one whose calls the compiler can make
// directly.
template <typename Sink>
void Expand(const std::int16_t* found, std::string_view value, Sink& sink) {
  if (!found) return;
  if (*found < PropCount) return sink.Store(static_cast<PropIndex>(*found), value);
  switch (static_cast<TShorthand>(*found)) {
    case TShorthand::Margin:
      return ExpandFourSides(value, {MarginTop, MarginRight, MarginBottom, MarginLeft}, sink);
    case TShorthand::Padding:
      return ExpandFourSides(value, {PaddingTop, PaddingRight, PaddingBottom, PaddingLeft}, sink);
    case TShorthand::BorderWidth:
      return ExpandFourSides(value, {BorderTopWidth, BorderRightWidth, BorderBottomWidth, BorderLeftWidth}, sink);
    case TShorthand::BorderColor:
      return ExpandFourSides(value, {BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor}, sink);
    case TShorthand::BorderStyle:
      return ExpandFourSides(value, {BorderTopStyle, BorderRightStyle, BorderBottomStyle, BorderLeftStyle}, sink);
    case TShorthand::Border: return ExpandBorder(value, {0, 1, 2, 3}, sink);
    case TShorthand::BorderTop: return ExpandBorder(value, {0}, sink);
    case TShorthand::BorderRight: return ExpandBorder(value, {1}, sink);
    case TShorthand::BorderBottom: return ExpandBorder(value, {2}, sink);
    case TShorthand::BorderLeft: return ExpandBorder(value, {3}, sink);
    case TShorthand::Font: return ExpandFont(value, sink);
    case TShorthand::Background: return ExpandBackground(value, sink);
    case TShorthand::ListStyle: return ExpandListStyle(value, sink);
  }
}

}  // namespace

void ExpandDeclaration(std::string_view name, std::string_view value, TPropertySink& sink) {
  Expand(kDeclarationNames.Find(name), value, sink);
}

void ExpandDeclaration(std::string_view name, std::string_view value, TStyleAttributeSink& sink) {
  Expand(kDeclarationNames.Find(name), value, sink);
}

void ExpandDeclaration(const TTableName& name, std::string_view value, TStyleAttributeSink& sink) {
  Expand(kDeclarationNames.Find(name), value, sink);
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
