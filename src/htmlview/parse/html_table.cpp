#include "htmlview/parse/html_table.h"

#include <algorithm>
#include <cstdint>

#include "htmlview/base/text_util.h"
#include "htmlview/style/colors.h"
#include "htmlview/style/lengths.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {
namespace {

// The largest spans browsers honour; beyond them a hostile page would only
// make layout allocate and loop for nothing.
constexpr int kMaxColSpan = 1000;
constexpr int kMaxRowSpan = 65534;
constexpr platform::Color kSilver = 0xC0C0C0;

int NumericOr(const TAttributeList& attrs, TAttrSymbol which, int fallback) {
  const TAttribute* a = attrs.Find(which);
  return a ? a->Numeric : fallback;
}

bool AttributeColor(const TAttributeList& attrs, TAttrSymbol which, platform::Color& color) {
  const TAttribute* a = attrs.Find(which);
  return a && ColorFromString(platform::Utf16ToUtf8(a->Value), false, color);
}

int Opposite3D(int style) {
  if (style == bssOutset) return bssInset;
  if (style == bssInset) return bssOutset;
  return style;
}

// What SpecFromProperty gives for a width or height slot, taken from the
// box already read from the same set: the box converts lengths for a base
// of 0 with the set's font, as SpecFromProperty does, so only percentages
// need their own conversion.
TSpecWidth SizeFromBox(const TPropValue& value, bool boxSet, int boxPixels, int ppi, double points) {
  if (value.HoldsNoValue()) return {};
  const std::string_view t = value.Text();
  if (!t.empty() && t.back() != 'x') {
    // Not a plain "px" length: "auto", percentages and other units go the
    // general way.
    return SpecFromProperty(value, ppi, points);
  }
  if (!boxSet || boxPixels < 0) return {};
  return {boxPixels, TWidthType::wtAbsolute};
}

// The attributes a cell reads, each the first of its kind, found in one
// pass over the list.
struct TCellAttributes {
  const TAttribute* colSpan = nullptr;
  const TAttribute* rowSpan = nullptr;
  const TAttribute* width = nullptr;
  const TAttribute* height = nullptr;
  const TAttribute* bgColor = nullptr;
  const TAttribute* noWrap = nullptr;
  const TAttribute* vAlign = nullptr;
};

TCellAttributes FindCellAttributes(const TAttributeList& attrs) {
  TCellAttributes found;
  for (std::size_t i = 0; i < attrs.Count(); ++i) {
    const TAttribute& a = attrs[i];
    const TAttribute** slot = nullptr;
    switch (a.Which) {
      case TAttrSymbol::ColSpanSy: slot = &found.colSpan; break;
      case TAttrSymbol::RowSpanSy: slot = &found.rowSpan; break;
      case TAttrSymbol::WidthSy: slot = &found.width; break;
      case TAttrSymbol::HeightSy: slot = &found.height; break;
      case TAttrSymbol::BgColorSy: slot = &found.bgColor; break;
      case TAttrSymbol::NoWrapSy: slot = &found.noWrap; break;
      case TAttrSymbol::VAlignSy: slot = &found.vAlign; break;
      default: break;
    }
    if (slot && !*slot) *slot = &a;
  }
  return found;
}

int SpanOf(const TAttribute* a, int most) { return std::clamp(a ? a->Numeric : 1, 1, most); }

TVAlign VAlignOf(const TAttribute* attr, const TProperties& props, TVAlign align) {
  if (attr && !attr->Value.empty()) {
    std::string v;
    for (char16_t c : attr->Value) AppendUtf8(v, ToLowerAscii(c));
    const std::string_view text = TrimSpaces(v);
    if (text == "top" || text == "baseline") align = TVAlign::vaTop;
    else if (text == "middle") align = TVAlign::vaMiddle;
    else if (text == "bottom") align = TVAlign::vaBottom;
  }
  const std::string_view css = props.TextOf(VerticalAlign);
  if (css == "top" || css == "baseline" || css == "text-top") align = TVAlign::vaTop;
  else if (css == "middle") align = TVAlign::vaMiddle;
  else if (css == "bottom" || css == "text-bottom") align = TVAlign::vaBottom;
  return align;
}

}  // namespace

TSpecWidth SpecFromAttribute(const TAttribute& attr) {
  std::u16string_view v = attr.Value;
  while (!v.empty() && v.back() == u' ') v.remove_suffix(1);
  if (!v.empty() && v.back() == u'%') return {std::clamp(attr.Numeric, 0, 100) * 10, TWidthType::wtPercent};
  if (!v.empty() && v.back() == u'*') return {std::max(attr.Numeric, 1), TWidthType::wtRelative};
  if (attr.Numeric <= 0) return {};
  return {attr.Numeric, TWidthType::wtAbsolute};
}

TSpecWidth SpecFromProperty(const TPropValue& value, int pixelsPerInch, double fontPoints) {
  if (value.HoldsNoValue() || value.Text() == "auto") return {};
  const std::string_view t = TrimSpaces(value.Text());
  if (!t.empty() && t.back() == '%') {
    int pct = 0;
    if (!LengthToPixels(t, 1000, TLengthContext{}, pct)) return {};
    return {std::clamp(pct, 0, 1000), TWidthType::wtPercent};
  }
  const double em = fontPoints * pixelsPerInch / 72.0;
  int px = 0;
  if (!ValueToPixels(value, 0, TLengthContext{pixelsPerInch, em, em / 2}, px) || px < 0) return {};
  return {px, TWidthType::wtAbsolute};
}

TSpecWidth TSizeMemo::Remember(const TPropValue& value, int pixelsPerInch, double fontPoints) {
  const TSpecWidth size = SpecFromProperty(value, pixelsPerInch, fontPoints);
  const std::string_view text = value.Text();
  TEntry& e = entries_[next_];
  next_ = (next_ + 1) % kEntries;
  std::memcpy(e.text, text.data(), text.size());
  e.length = static_cast<std::uint8_t>(text.size());
  e.ppi = pixelsPerInch;
  e.points = fontPoints;
  e.size = size;
  return size;
}

THtmlTable::THtmlTable(const TAttributeList& attrs, const TProperties& props, int ppi) {
  Box = GetBoxValues(props, 0, ppi);
  for (int s = 0; s < 4; ++s) HasCssBorderStyle = HasCssBorderStyle || Box.borderStyleSet[s];
  if (const TAttribute* a = attrs.Find(TAttrSymbol::BorderSy); a && !HasCssBorderStyle) {
    HasBorderAttribute = true;
    BorderWidth = a->HasValue ? std::clamp(a->Numeric, 0, 100) : 1;
  }
  CellPadding = std::clamp(NumericOr(attrs, TAttrSymbol::CellPaddingSy, 1), 0, 50);
  CellSpacing = std::clamp(NumericOr(attrs, TAttrSymbol::CellSpacingSy, 2), -1, 40);
  if (props.TextOf(BorderCollapse) == "collapse") CellSpacing = -1;
  AttributeColor(attrs, TAttrSymbol::BorderColorSy, BorderColor);
  AttributeColor(attrs, TAttrSymbol::BorderColorLightSy, BorderColorLight);
  AttributeColor(attrs, TAttrSymbol::BorderColorDarkSy, BorderColorDark);
  BgColor = props.GetBackgroundColor();
  if (BgColor == platform::kNoColor) AttributeColor(attrs, TAttrSymbol::BgColorSy, BgColor);
  if (const TAttribute* w = attrs.Find(TAttrSymbol::WidthSy)) SpecWidth = SpecFromAttribute(*w);
  if (const TAttribute* h = attrs.Find(TAttrSymbol::HeightSy)) SpecHeight = SpecFromAttribute(*h);
  const double points = props.FontSizePoints(12);
  if (const TSpecWidth css = SizeFromBox(props[Width], Box.widthSet, Box.width, ppi, points);
      css.Type != TWidthType::wtNone) {
    SpecWidth = css;
  }
  if (const TSpecWidth css = SizeFromBox(props[Height], Box.heightSet, Box.height, ppi, points);
      css.Type != TWidthType::wtNone) {
    SpecHeight = css;
  }
}

int THtmlTable::ColumnCount() const {
  int count = 0;
  for (const auto& row : Rows) {
    int n = 0;
    for (const auto& cell : row.Cells) n += cell.ColSpan;
    count = std::max(count, n);
  }
  return count;
}

TCellObj::TCellObj(const THtmlTable& table, const TProperties& props, const TAttributeList& attrs,
                   TVAlign rowAlign, bool isHeader, int ppi, TSizeMemo* sizes)
    : TCellData() {
  IsHeader = isHeader;
  const TCellAttributes found = FindCellAttributes(attrs);
  ColSpan = SpanOf(found.colSpan, kMaxColSpan);
  RowSpan = SpanOf(found.rowSpan, kMaxRowSpan);
  if (found.width) SpecWd = SpecFromAttribute(*found.width);
  if (found.height) SpecHt = SpecFromAttribute(*found.height);
  // A CSS width or height overrides the attribute; sets holding neither
  // leave the sizes alone.
  const std::uint64_t valued = props.ValuedSlots();
  const bool sized = (valued & ((std::uint64_t{1} << Width) | (std::uint64_t{1} << Height))) != 0;
  auto setSizes = [this](const TSpecWidth& width, const TSpecWidth& height) {
    if (width.Type != TWidthType::wtNone) SpecWd = width;
    if (height.Type != TWidthType::wtNone) SpecHt = height;
  };
  if ((valued & kBoxSideSlots) == 0) {
    // No side of the box is given: what SetBorders makes of a box whose
    // sides are all unset, without reading the box.
    if (sized) {
      const double points = props.FontSizePoints(12);
      if (sizes) {
        setSizes(sizes->Read(props[Width], ppi, points), sizes->Read(props[Height], ppi, points));
      } else {
        setSizes(SpecFromProperty(props[Width], ppi, points), SpecFromProperty(props[Height], ppi, points));
      }
    }
    const bool tableBorder = table.BorderWidth > 0;
    Padding.fill(table.CellPadding);
    BorderStyle.fill(tableBorder ? Opposite3D(bssOutset) : bssNone);
    BorderWidth.fill(tableBorder ? 1 : 0);
    BorderColor.fill(kSilver);
  } else {
    const TBoxValues box = GetBoxValues(props, 0, ppi);
    if (sized) {
      // The CSS width and height, with the lengths the box has converted already.
      const double points = props.FontSizePoints(12);
      setSizes(SizeFromBox(props[Width], box.widthSet, box.width, ppi, points),
               SizeFromBox(props[Height], box.heightSet, box.height, ppi, points));
    }
    SetBorders(table, box);
  }
  VAlign = VAlignOf(found.vAlign, props, rowAlign);
  BgColor = props.GetBackgroundColor();
  if (BgColor == platform::kNoColor && found.bgColor) ColorFromString(platform::Utf16ToUtf8(found.bgColor->Value), false, BgColor);
  NoWrap = found.noWrap != nullptr;
  ShowEmptyCells = props.TextOf(EmptyCells) == "show";
  HzSpace = Padding[sLeft] + BorderWidth[sLeft] + BorderWidth[sRight] + Padding[sRight];
  VrSpace = Padding[sTop] + BorderWidth[sTop] + BorderWidth[sBottom] + Padding[sBottom];
}

void TCellObj::SetBorders(const THtmlTable& table, const TBoxValues& box) {
  for (int s = 0; s < 4; ++s) {
    Padding[s] = box.paddingSet[s] ? box.padding[s] : table.CellPadding;
    BorderStyle[s] = box.borderStyle[s];
    BorderWidth[s] = box.borderWidth[s];
    if (table.BorderWidth > 0 && !box.borderStyleSet[s]) {
      BorderStyle[s] = Opposite3D(bssOutset);
      BorderWidth[s] = std::max(BorderWidth[s], 1);
    }
    if (BorderStyle[s] == bssNone) BorderWidth[s] = 0;
    BorderColor[s] = box.borderColor[s] != platform::kNoColor ? box.borderColor[s] : kSilver;
  }
}

}  // namespace talmeko::htmlview
