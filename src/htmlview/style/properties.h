#pragma once
// One computed property set: 64 slots in a fixed order, each empty, a text, an
// integer or a real number. Sets are copied for every element the parser
// opens, so a set is a flat, trivially copyable block; texts live in the
// document's text pool (or are literals).

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "platform/geometry.h"

namespace talmeko::htmlview {

enum PropIndex : std::uint8_t {
  FontFamily, FontSize, FontStyle, FontWeight, TextAlign, TextDecoration, LetterSpacing, Color,
  BackgroundColor, MarginTop, MarginRight, MarginBottom, MarginLeft, MinHeight, MinWidth,
  MaxHeight, MaxWidth, BoxSizing, PaddingTop, PaddingRight, PaddingBottom, PaddingLeft,
  BorderTopWidth, BorderRightWidth, BorderBottomWidth, BorderLeftWidth, BorderTopColor,
  BorderRightColor, BorderBottomColor, BorderLeftColor, BorderTopStyle, BorderRightStyle,
  BorderBottomStyle, BorderLeftStyle, Width, Height, Top, Bottom, Right, Left, Visibility,
  LineHeight, BackgroundImage, BackgroundPosition, BackgroundRepeat, BackgroundAttachment,
  VerticalAlign, Position, ZIndex, ListStyleType, ListStyleImage, Float, Clear, TextIndent,
  PageBreakBefore, PageBreakAfter, PageBreakInside, TextTransform, WordWrap, FontVariant,
  BorderCollapse, Overflow, Display, EmptyCells,
  PropCount
};
static_assert(PropCount == 64);

inline constexpr PropIndex kFirstBoxProp = MarginTop;
inline constexpr PropIndex kLastBoxProp = Left;
constexpr bool IsBoxProp(int index) { return index >= kFirstBoxProp && index <= kLastBoxProp; }

// The hyphenated CSS name of each slot, in slot order.
inline constexpr std::array<std::string_view, PropCount> kPropertyNames = {
    "font-family", "font-size", "font-style", "font-weight", "text-align", "text-decoration",
    "letter-spacing", "color", "background-color", "margin-top", "margin-right", "margin-bottom",
    "margin-left", "min-height", "min-width", "max-height", "max-width", "box-sizing",
    "padding-top", "padding-right", "padding-bottom", "padding-left", "border-top-width",
    "border-right-width", "border-bottom-width", "border-left-width", "border-top-color",
    "border-right-color", "border-bottom-color", "border-left-color", "border-top-style",
    "border-right-style", "border-bottom-style", "border-left-style", "width", "height", "top",
    "bottom", "right", "left", "visibility", "line-height", "background-image",
    "background-position", "background-repeat", "background-attachment", "vertical-align",
    "position", "z-index", "list-style-type", "list-style-image", "float", "clear",
    "text-indent", "page-break-before", "page-break-after", "page-break-inside",
    "text-transform", "word-wrap", "font-variant", "border-collapse", "overflow", "display",
    "empty-cells"};

// The hyphenated CSS name of a slot, and the slot of a lower-case name.
constexpr std::string_view PropertyName(PropIndex index) { return kPropertyNames[index]; }
bool LookupProperty(std::string_view lowerName, PropIndex& index);

// Box slots of a new set hold this integer until something sets them.
inline constexpr std::int64_t kIntNull = -12345678;

enum class TValueKind : std::uint8_t { Empty, Text, Int, Real };

class TPropValue {
 public:
  static constexpr TPropValue MakeText(std::string_view text) {
    TPropValue v;
    v.kind_ = TValueKind::Text;
    v.text_ = text.data();
    v.len_ = static_cast<std::uint32_t>(text.size());
    return v;
  }
  static constexpr TPropValue MakeInt(std::int64_t i) {
    TPropValue v;
    v.kind_ = TValueKind::Int;
    v.int_ = i;
    return v;
  }
  static constexpr TPropValue MakeReal(double r) {
    TPropValue v;
    v.kind_ = TValueKind::Real;
    v.real_ = r;
    return v;
  }

  constexpr TValueKind Kind() const { return kind_; }
  constexpr bool IsEmpty() const { return kind_ == TValueKind::Empty; }
  bool IsText() const { return kind_ == TValueKind::Text; }
  bool IsInt() const { return kind_ == TValueKind::Int; }
  bool IsReal() const { return kind_ == TValueKind::Real; }
  constexpr bool IsNotSet() const { return kind_ == TValueKind::Int && int_ == kIntNull; }
  // Empty, or a box slot still at the not-set value.
  constexpr bool HoldsNoValue() const { return IsEmpty() || IsNotSet(); }

  std::string_view Text() const { return IsText() ? std::string_view(text_, len_) : std::string_view(); }
  std::int64_t Int() const { return IsInt() ? int_ : IsReal() ? static_cast<std::int64_t>(real_) : 0; }
  double Real() const { return IsReal() ? real_ : IsInt() ? static_cast<double>(int_) : 0.0; }
  bool IsNumber() const { return IsInt() || IsReal(); }

  friend bool operator==(const TPropValue& a, const TPropValue& b);

 private:
  union {
    const char* text_;
    std::int64_t int_ = 0;
    double real_;
  };
  std::uint32_t len_ = 0;
  TValueKind kind_ = TValueKind::Empty;
  // Named, so that a value is copied as one 16-byte block rather than as
  // its 13 bytes in two overlapping halves.
  std::uint8_t unused_[3] = {};
};
static_assert(sizeof(TPropValue) == 16);

struct TFontInfo;

class TProperties {
 public:
  // A new set: box slots not set, z-index 0, everything else empty. Every
  // new set is the same, so building one is a plain copy of a prototype.
  TProperties() : TProperties(kNewSet) {}
  TProperties(const TProperties&) = default;
  TProperties& operator=(const TProperties&) = default;
  // Makes the set a new one again: the same as assigning TProperties(),
  // with one copy instead of two.
  void ResetToNew() { *this = kNewSet; }
  // Makes a set that was a copy of the other, and has had only the given
  // slots changed since, equal to it again. Cheaper than a copy when few
  // slots changed: sets are large.
  void RestoreSlots(const TProperties& original, std::uint64_t changed) {
    for (; changed != 0; changed &= changed - 1) {
      const int i = std::countr_zero(changed);
      props_[i] = original.props_[i];
    }
    byRule_ = original.byRule_;
    valued_ = original.valued_;
    font_ = original.font_;
  }
  static const TProperties& NewSet() { return kNewSet; }
  // Sets the slots of the mask, in slot order, to the values given, each
  // as set by a rule: what SetByRule slot by slot would do. Which of them
  // hold a value is given (a subset of the mask), so the values are plain
  // copies.
  void SetByRule(std::uint64_t mask, std::uint64_t valued, const TPropValue* values) {
    byRule_ |= mask;
    valued_ = (valued_ & ~mask) | valued;
    if ((mask & kFontProps) != 0) font_ = nullptr;
    for (; mask != 0; mask &= mask - 1) props_[std::countr_zero(mask)] = *values++;
  }

  const TPropValue& operator[](PropIndex i) const { return props_[i]; }
  void Set(PropIndex i, const TPropValue& v) {
    Store(i, v);
    if (IsFontProp(i)) font_ = nullptr;
  }
  void SetByRule(PropIndex i, const TPropValue& v) {
    Set(i, v);
    byRule_ |= Bit(i);
  }
  void Clear(PropIndex i) { Set(i, IsBoxProp(i) ? TPropValue::MakeInt(kIntNull) : TPropValue()); }
  bool IsSetByRule(PropIndex i) const { return (byRule_ & Bit(i)) != 0; }
  void ClearRuleFlags() { byRule_ = 0; }
  std::uint64_t RuleFlags() const { return byRule_; }
  void SetRuleFlags(std::uint64_t flags) { byRule_ = flags; }
  // Sets a slot unless a style rule already did; defaults applied after the
  // cascade (body margins, default alignments) go through here.
  void SetUnlessRule(PropIndex i, const TPropValue& v) {
    if (!IsSetByRule(i)) Set(i, v);
  }
  // One bit per slot (bit i for slot i) that holds a value: neither empty
  // nor a box slot at the not-set value.
  std::uint64_t ValuedSlots() const { return valued_; }

  // Copies every slot of the other set that holds a value, marking each as
  // set by a rule.
  void Merge(const TProperties& other);

  std::string_view PropTag;
  std::string_view PropClass;  // lower case, several classes joined by "."
  std::string_view PropID;     // lower case
  std::string_view PropTitle;  // UTF-8
  std::string_view DefFontName;
  int CharSet = 1;
  int CodePage = 1251;
  bool Quirks = false;

  // Convenience readers of the computed values.
  platform::Color GetBackgroundColor() const;
  platform::Color GetTextColor() const;
  double FontSizePoints(double fallback) const;
  bool IsDisplayNone() const;
  std::string_view TextOf(PropIndex i) const { return props_[i].Text(); }

  // The font built from the set on first use; cleared whenever a slot that
  // affects it changes.
  const TFontInfo* CachedFont() const { return font_; }
  void SetCachedFont(const TFontInfo* font) const { font_ = font; }

  static constexpr std::uint64_t kFontProps =
      ((std::uint64_t{1} << (Color + 1)) - 1) | (std::uint64_t{1} << FontVariant);
  static constexpr bool IsFontProp(PropIndex i) { return ((kFontProps >> i) & 1) != 0; }

 private:
  struct TPrototype {};
  // Builds the prototype from the members' initial values.
  constexpr explicit TProperties(TPrototype) {}
  static const TProperties kNewSet;

  static constexpr std::uint64_t Bit(PropIndex i) { return std::uint64_t{1} << i; }
  // Writes a slot and whether it holds a value; the font is the caller's.
  void Store(PropIndex i, const TPropValue& v) {
    props_[i] = v;
    if (v.HoldsNoValue()) valued_ &= ~Bit(i);
    else valued_ |= Bit(i);
  }

  static constexpr std::array<TPropValue, PropCount> NewSlots() {
    // Not named "slots": Qt's headers take that word.
    std::array<TPropValue, PropCount> values{};
    for (int i = kFirstBoxProp; i <= kLastBoxProp; ++i) values[i] = TPropValue::MakeInt(kIntNull);
    values[ZIndex] = TPropValue::MakeInt(0);
    return values;
  }

  std::array<TPropValue, PropCount> props_ = NewSlots();
  std::uint64_t byRule_ = 0;
  std::uint64_t valued_ = Bit(ZIndex);
  mutable const TFontInfo* font_ = nullptr;
};

inline constexpr TProperties TProperties::kNewSet{TProperties::TPrototype{}};

inline void TProperties::Merge(const TProperties& other) {
  std::uint64_t bits = other.valued_;
  byRule_ |= bits;
  valued_ |= bits;
  if ((bits & kFontProps) != 0) font_ = nullptr;
  while (bits != 0) {
    const int i = std::countr_zero(bits);
    props_[i] = other.props_[i];
    bits &= bits - 1;
  }
}

// Visibility codes.
inline constexpr int kVisibilityInherit = 0;
inline constexpr int kVisibilityHidden = 1;
inline constexpr int kVisibilityVisible = 2;

// Text-transform codes.
inline constexpr int kTextTransformNone = 0;
inline constexpr int kTextTransformUpper = 1;
inline constexpr int kTextTransformLower = 2;
inline constexpr int kTextTransformCaps = 3;

// Border styles.
enum TBorderStyleCode : int {
  bssNone = 0, bssSolid, bssInset, bssOutset, bssGroove, bssRidge, bssDashed, bssDotted, bssDouble
};
// The code of a border-style keyword, or -1 for a word that is not one.
int BorderStyleFromText(std::string_view text);

}  // namespace talmeko::htmlview
