#include "htmlview/properties.h"

#include <algorithm>

namespace talmeko::htmlview {
namespace {

constexpr std::array<std::string_view, PropCount> kPropertyNames = {
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

}  // namespace

std::string_view PropertyName(PropIndex index) { return kPropertyNames[index]; }

bool LookupProperty(std::string_view lowerName, PropIndex& index) {
  if (lowerName.empty()) return false;
  for (int i = 0; i < PropCount; ++i) {
    if (kPropertyNames[i].size() == lowerName.size() && kPropertyNames[i][0] == lowerName[0] &&
        kPropertyNames[i] == lowerName) {
      index = static_cast<PropIndex>(i);
      return true;
    }
  }
  return false;
}

bool operator==(const TPropValue& a, const TPropValue& b) {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case TValueKind::Empty: return true;
    case TValueKind::Text: return a.Text() == b.Text();
    case TValueKind::Int: return a.int_ == b.int_;
    case TValueKind::Real: return a.real_ == b.real_;
  }
  return false;
}

TProperties::TProperties() {
  for (int i = kFirstBoxProp; i <= kLastBoxProp; ++i) props_[i] = TPropValue::MakeInt(kIntNull);
  props_[ZIndex] = TPropValue::MakeInt(0);
}

void TProperties::Merge(const TProperties& other) {
  for (int i = 0; i < PropCount; ++i) {
    if (!other.props_[i].HoldsNoValue()) SetByRule(static_cast<PropIndex>(i), other.props_[i]);
  }
}

platform::Color TProperties::GetBackgroundColor() const {
  const TPropValue& v = props_[BackgroundColor];
  return v.IsInt() ? static_cast<platform::Color>(v.Int()) : platform::kNoColor;
}

platform::Color TProperties::GetTextColor() const {
  const TPropValue& v = props_[Color];
  return v.IsInt() ? static_cast<platform::Color>(v.Int())
                   : platform::kSystemColorBase + platform::kColorWindowText;
}

double TProperties::FontSizePoints(double fallback) const {
  const TPropValue& v = props_[FontSize];
  return v.IsNumber() && v.Real() > 0 ? v.Real() : fallback;
}

bool TProperties::IsDisplayNone() const { return props_[Display].Text() == "none"; }

int BorderStyleFromText(std::string_view text) {
  static constexpr std::array<std::string_view, 9> kNames = {
      "none", "solid", "inset", "outset", "groove", "ridge", "dashed", "dotted", "double"};
  const auto it = std::find(kNames.begin(), kNames.end(), text);
  if (it != kNames.end()) return static_cast<int>(it - kNames.begin());
  return text == "hidden" ? bssNone : -1;
}

}  // namespace talmeko::htmlview
