#include "htmlview/style/properties.h"

#include <algorithm>

#include "htmlview/style/name_table.h"

namespace talmeko::htmlview {
namespace {

constexpr std::array<TNamedValue<PropIndex>, PropCount> PropertyNames() {
  std::array<TNamedValue<PropIndex>, PropCount> names{};
  for (int i = 0; i < PropCount; ++i) names[i] = {kPropertyNames[i], static_cast<PropIndex>(i)};
  return names;
}

constexpr TNameTable<PropIndex, 128> kPropertyTable(PropertyNames());

}  // namespace

bool LookupProperty(std::string_view lowerName, PropIndex& index) {
  const PropIndex* found = kPropertyTable.Find(lowerName);
  if (!found) return false;
  index = *found;
  return true;
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
