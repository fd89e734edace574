#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "htmlview/base/text_pool.h"
#include "htmlview/base/text_util.h"
#include "htmlview/parse/attributes.h"
#include "htmlview/parse/html_table.h"
#include "htmlview/style/box_values.h"
#include "htmlview/style/colors.h"
#include "htmlview/style/lengths.h"
#include "htmlview/style/shorthand.h"
#include "htmlview/style/style_sheet_parser.h"
#include "platform/cp1251.h"
#include "property_description.h"

namespace talmeko::htmlview {
namespace {

std::string Describe(const TProperties& p) { return testing::DescribeSlots(p, false); }

std::string Describe(const TSpecWidth& w) {
  return std::to_string(w.Value) + "/" + std::to_string(static_cast<int>(w.Type));
}

// Cells and tables take plain pixel widths and heights from the box they
// read anyway; every kind of slot value must come out as the general
// conversion of the slot gives it.
TEST(CellSizes, WidthsAndHeightsMatchTheGeneralConversion) {
  const std::vector<TPropValue> values = {
      TPropValue(),
      TPropValue::MakeInt(kIntNull),
      TPropValue::MakeText("50px"),
      TPropValue::MakeText("50"),
      TPropValue::MakeText("  50px"),
      TPropValue::MakeText("50px "),
      TPropValue::MakeText("0px"),
      TPropValue::MakeText("-5px"),
      TPropValue::MakeText("1.5px"),
      TPropValue::MakeText("2.5px"),
      TPropValue::MakeText("3ex"),
      TPropValue::MakeText("2em"),
      TPropValue::MakeText("12pt"),
      TPropValue::MakeText("auto"),
      TPropValue::MakeText("10%"),
      TPropValue::MakeText(" 45.5 % "),
      TPropValue::MakeText("250%"),
      TPropValue::MakeText("-20%"),
      TPropValue::MakeText("px"),
      TPropValue::MakeText(""),
      TPropValue::MakeText("abc"),
      TPropValue::MakeText("9999999px"),
      TPropValue::MakeText("123456789px"),
      TPropValue::MakeText("5 px"),
      TPropValue::MakeText("5PX"),
      TPropValue::MakeText("1e3px"),
      TPropValue::MakeInt(30),
      TPropValue::MakeInt(-30),
      TPropValue::MakeReal(12.5),
      TPropValue::MakeReal(-2.5),
  };
  const std::vector<TPropValue> fontSizes = {TPropValue(), TPropValue::MakeReal(10), TPropValue::MakeReal(-1),
                                             TPropValue::MakeText("large")};
  const TAttributeList noAttributes;
  std::mt19937 rng(5);
  for (int ppi : {96, 120}) {
    for (const TPropValue& font : fontSizes) {
      for (const TPropValue& width : values) {
        const TPropValue& height = values[rng() % values.size()];
        TProperties props;
        props.Set(FontSize, font);
        props.Set(Width, width);
        props.Set(Height, height);
        SCOPED_TRACE(Describe(props) + " ppi " + std::to_string(ppi));
        const double points = props.FontSizePoints(12);
        const TSpecWidth wantWidth = SpecFromProperty(width, ppi, points);
        const TSpecWidth wantHeight = SpecFromProperty(height, ppi, points);

        const THtmlTable table(noAttributes, props, ppi);
        if (wantWidth.Type != TWidthType::wtNone) EXPECT_EQ(Describe(table.SpecWidth), Describe(wantWidth));
        else EXPECT_EQ(table.SpecWidth.Type, TWidthType::wtNone);
        if (wantHeight.Type != TWidthType::wtNone) EXPECT_EQ(Describe(table.SpecHeight), Describe(wantHeight));
        else EXPECT_EQ(table.SpecHeight.Type, TWidthType::wtNone);

        const TCellObj cell(table, props, noAttributes, TVAlign::vaMiddle, false, ppi);
        if (wantWidth.Type != TWidthType::wtNone) EXPECT_EQ(Describe(cell.SpecWd), Describe(wantWidth));
        else EXPECT_EQ(cell.SpecWd.Type, TWidthType::wtNone);
        if (wantHeight.Type != TWidthType::wtNone) EXPECT_EQ(Describe(cell.SpecHt), Describe(wantHeight));
        else EXPECT_EQ(cell.SpecHt.Type, TWidthType::wtNone);
      }
    }
  }
}

int Opposite3D(int style) {
  if (style == bssOutset) return bssInset;
  if (style == bssInset) return bssOutset;
  return style;
}

// A cell as first built: each attribute looked up on its own, the box's
// sides always copied, sizes converted from the slots.
TCellData PlainCell(const THtmlTable& table, const TProperties& props, const TAttributeList& attrs,
                    TVAlign rowAlign, bool isHeader, int ppi) {
  TCellData c;
  c.VAlign = rowAlign;
  c.IsHeader = isHeader;
  const TBoxValues box = GetBoxValues(props, 0, ppi);
  const TAttribute* colSpan = attrs.Find(TAttrSymbol::ColSpanSy);
  const TAttribute* rowSpan = attrs.Find(TAttrSymbol::RowSpanSy);
  c.ColSpan = std::clamp(colSpan ? colSpan->Numeric : 1, 1, 1000);
  c.RowSpan = std::clamp(rowSpan ? rowSpan->Numeric : 1, 1, 65534);
  if (const TAttribute* w = attrs.Find(TAttrSymbol::WidthSy)) c.SpecWd = SpecFromAttribute(*w);
  if (const TAttribute* h = attrs.Find(TAttrSymbol::HeightSy)) c.SpecHt = SpecFromAttribute(*h);
  const double points = props.FontSizePoints(12);
  if (const TSpecWidth css = SpecFromProperty(props[Width], ppi, points); css.Type != TWidthType::wtNone) {
    c.SpecWd = css;
  }
  if (const TSpecWidth css = SpecFromProperty(props[Height], ppi, points); css.Type != TWidthType::wtNone) {
    c.SpecHt = css;
  }
  for (int s = 0; s < 4; ++s) {
    c.Padding[s] = box.paddingSet[s] ? box.padding[s] : table.CellPadding;
    c.BorderStyle[s] = box.borderStyle[s];
    c.BorderWidth[s] = box.borderWidth[s];
    if (table.BorderWidth > 0 && !box.borderStyleSet[s]) {
      c.BorderStyle[s] = Opposite3D(bssOutset);
      c.BorderWidth[s] = std::max(c.BorderWidth[s], 1);
    }
    if (c.BorderStyle[s] == bssNone) c.BorderWidth[s] = 0;
    c.BorderColor[s] = box.borderColor[s] != platform::kNoColor ? box.borderColor[s] : 0xC0C0C0;
  }
  std::string v;
  for (char16_t ch : attrs.ValueOf(TAttrSymbol::VAlignSy)) AppendUtf8(v, ToLowerAscii(ch));
  const std::string_view attr = TrimSpaces(v);
  if (attr == "top" || attr == "baseline") c.VAlign = TVAlign::vaTop;
  else if (attr == "middle") c.VAlign = TVAlign::vaMiddle;
  else if (attr == "bottom") c.VAlign = TVAlign::vaBottom;
  const std::string_view css = props.TextOf(VerticalAlign);
  if (css == "top" || css == "baseline" || css == "text-top") c.VAlign = TVAlign::vaTop;
  else if (css == "middle") c.VAlign = TVAlign::vaMiddle;
  else if (css == "bottom" || css == "text-bottom") c.VAlign = TVAlign::vaBottom;
  c.BgColor = props.GetBackgroundColor();
  if (c.BgColor == platform::kNoColor) {
    if (const TAttribute* a = attrs.Find(TAttrSymbol::BgColorSy)) ColorFromString(platform::Utf16ToUtf8(a->Value), false, c.BgColor);
  }
  c.NoWrap = attrs.Find(TAttrSymbol::NoWrapSy) != nullptr;
  c.ShowEmptyCells = props.TextOf(EmptyCells) == "show";
  c.HzSpace = c.Padding[3] + c.BorderWidth[3] + c.BorderWidth[1] + c.Padding[1];
  c.VrSpace = c.Padding[0] + c.BorderWidth[0] + c.BorderWidth[2] + c.Padding[2];
  return c;
}

std::string Describe(const TCellData& c) {
  std::string s = "span " + std::to_string(c.ColSpan) + "x" + std::to_string(c.RowSpan) + " wd " +
                  Describe(c.SpecWd) + " ht " + Describe(c.SpecHt) + " va " +
                  std::to_string(static_cast<int>(c.VAlign)) + " sides";
  for (int k = 0; k < 4; ++k) {
    s += " " + std::to_string(c.Padding[k]) + "/" + std::to_string(c.BorderWidth[k]) + "/" +
         std::to_string(c.BorderStyle[k]) + "/" + std::to_string(c.BorderColor[k]);
  }
  return s + " bg " + std::to_string(c.BgColor) + " space " + std::to_string(c.HzSpace) + "," +
         std::to_string(c.VrSpace) + (c.NoWrap ? " nowrap" : "") + (c.IsHeader ? " th" : "") +
         (c.ShowEmptyCells ? " show" : "");
}

void AddAttribute(TAttributeList& attrs, TAttrSymbol which, std::u16string_view value) {
  TAttribute& a = attrs.Add();
  a.Which = which;
  a.Value = std::u16string(value);
  a.Numeric = AttributeNumber(value);
  a.HasValue = !value.empty();
}

// Cells read their attributes in one pass and skip the side copies when
// the set gives no margin, padding or border: random attribute lists
// (repeated ones included, the first counting) and random sets, in tables
// with and without a border, must build the cells the plain way builds.
TEST(CellSizes, CellsMatchTheOnesBuiltAttributeByAttribute) {
  struct TPiece {
    TAttrSymbol which;
    std::u16string_view value;
  };
  static constexpr TPiece kAttributes[] = {
      {TAttrSymbol::ColSpanSy, u"3"},      {TAttrSymbol::ColSpanSy, u"5000"},   {TAttrSymbol::RowSpanSy, u"2"},
      {TAttrSymbol::RowSpanSy, u"-4"},     {TAttrSymbol::WidthSy, u"40%"},      {TAttrSymbol::WidthSy, u"120"},
      {TAttrSymbol::HeightSy, u"3*"},      {TAttrSymbol::HeightSy, u"0"},       {TAttrSymbol::BgColorSy, u"#00ff00"},
      {TAttrSymbol::BgColorSy, u"red"},    {TAttrSymbol::BgColorSy, u"nonsense"}, {TAttrSymbol::NoWrapSy, u""},
      {TAttrSymbol::VAlignSy, u" Top "},   {TAttrSymbol::VAlignSy, u"BOTTOM"},  {TAttrSymbol::VAlignSy, u"baseline"},
      {TAttrSymbol::VAlignSy, u""},        {TAttrSymbol::BorderSy, u"2"},       {TAttrSymbol::OtherAttribute, u"x"},
  };
  struct TSlot {
    PropIndex index;
    TPropValue value;
  };
  const TSlot kSlots[] = {
      {Width, TPropValue::MakeText("50px")},          {Width, TPropValue::MakeText("20%")},
      {Height, TPropValue::MakeText("2em")},          {Height, TPropValue::MakeText("auto")},
      {PaddingLeft, TPropValue::MakeText("3px")},     {PaddingTop, TPropValue::MakeText("-2px")},
      {MarginRight, TPropValue::MakeText("4px")},     {BorderTopStyle, TPropValue::MakeText("solid")},
      {BorderBottomStyle, TPropValue::MakeText("none")}, {BorderLeftWidth, TPropValue::MakeText("thick")},
      {BorderRightColor, TPropValue::MakeInt(0x112233)}, {MinWidth, TPropValue::MakeText("10px")},
      {BackgroundColor, TPropValue::MakeInt(0xF5F0EC)}, {VerticalAlign, TPropValue::MakeText("text-bottom")},
      {VerticalAlign, TPropValue::MakeText("middle")},  {EmptyCells, TPropValue::MakeText("show")},
      {FontSize, TPropValue::MakeReal(9)},
  };
  std::mt19937 rng(17);
  for (int round = 0; round < 3000; ++round) {
    TAttributeList tableAttrs;
    if (round % 3 == 0) AddAttribute(tableAttrs, TAttrSymbol::BorderSy, u"1");
    if (round % 5 == 0) AddAttribute(tableAttrs, TAttrSymbol::CellPaddingSy, u"4");
    const THtmlTable table(tableAttrs, TProperties(), 96);
    TAttributeList attrs;
    const int attributeCount = static_cast<int>(rng() % 5);
    for (int k = 0; k < attributeCount; ++k) {
      const TPiece& piece = kAttributes[rng() % std::size(kAttributes)];
      AddAttribute(attrs, piece.which, piece.value);
    }
    TProperties props;
    const int slotCount = static_cast<int>(rng() % 4);
    for (int k = 0; k < slotCount; ++k) {
      const TSlot& slot = kSlots[rng() % std::size(kSlots)];
      props.Set(slot.index, slot.value);
    }
    const auto rowAlign = static_cast<TVAlign>(rng() % 3);
    const bool isHeader = round % 2 == 0;
    const TCellObj cell(table, props, attrs, rowAlign, isHeader, 96);
    ASSERT_EQ(Describe(static_cast<const TCellData&>(cell)),
              Describe(PlainCell(table, props, attrs, rowAlign, isHeader, 96)))
        << "round " << round << ": " << Describe(props);
  }
}

// Plain pixel lengths are read without a double; around the edges of that
// shortcut the result must be what the general reading gives.
TEST(Lengths, PlainPixelLengthsAndTheirNeighbours) {
  struct TCase {
    std::string_view text;
    bool ok;
    int pixels;
  };
  static constexpr TCase kCases[] = {
      {"0", true, 0},
      {"7px", true, 7},
      {"007px", true, 7},
      {"9999999px", true, 9999999},
      {"9999999", true, 9999999},
      {"10000000px", true, 10000000},
      {"12345678", true, 10000000},
      {"-3px", true, -3},
      {"+3px", true, 3},
      {" 4px", true, 4},
      {"4px ", true, 4},
      {"4 px", true, 4},
      {"2.5px", true, 2},
      {"3.5px", true, 4},
      {"px", false, -1},
      {"", false, -1},
      {"3PX", false, -1},
      {"3pxx", false, -1},
      {"3p", false, -1},
      {"x3px", false, -1},
      {"3:px", false, -1},
      {"3/px", false, -1},
  };
  const TLengthContext ctx{96, 16, 8};
  for (const TCase& c : kCases) {
    int pixels = -1;
    EXPECT_EQ(LengthToPixels(c.text, 100, ctx, pixels), c.ok) << c.text;
    EXPECT_EQ(pixels, c.pixels) << c.text;
  }
}

// Names are lowered eight characters at a time; names ending inside or at
// the edge of a block, running past the room a name has, or broken by a
// character that cannot stand in one must read as the same declarations
// given one at a time.
TEST(StyleAttribute, NamesOfEveryLengthAroundTheBlockEdges) {
  struct TCase {
    std::u16string_view text;
    std::vector<std::pair<std::string_view, std::string_view>> declarations;
  };
  const std::vector<TCase> cases = {
      {u"COLOR:red", {{"color", "red"}}},
      {u"Display:none", {{"display", "none"}}},
      {u"Position:absolute", {{"position", "absolute"}}},
      {u"Overflow:hidden", {{"overflow", "hidden"}}},
      {u"BACKGROUND-COLOR:#123456", {{"background-color", "#123456"}}},
      {u"Border-Top-Width:3px", {{"border-top-width", "3px"}}},
      {u"border-bottom-color : Red", {{"border-bottom-color", "red"}}},
      {u"BORDER-RIGHT-STYLE=solid", {{"border-right-style", "solid"}}},
      {u"background-attachment:fixed", {{"background-attachment", "fixed"}}},
      {u"Page-Break-Inside:avoid;Z-INDEX:4", {{"page-break-inside", "avoid"}, {"z-index", "4"}}},
      {u"backgroundcolor:red;width:5px", {{"width", "5px"}}},
      {u"background-colorX:red;height:6px", {{"height", "6px"}}},
      {u"background-col\u00f6r:red;height:6px", {{"height", "6px"}}},
      // The name ends at the character that cannot stand in it; what
      // follows is read as the next name.
      {u"background\u0100color:red;width:1px", {{"color", "red"}, {"width", "1px"}}},
      {u"background_color:red;width:2px", {{"color", "red"}, {"width", "2px"}}},
      {u"border-bottom-width-and-more:3px;color:blue", {{"color", "blue"}}},
      {u"text-decoration-line-through:x;color:blue", {{"color", "blue"}}},
      {u"background-attachmen:fixed", {}},
      {u"page-break-before12345:always;LEFT:3px", {{"left", "3px"}}},
      {u"  \tMargin-Bottom:2px;  Padding:1px 2px", {{"margin-bottom", "2px"}, {"padding", "1px 2px"}}},
      {u"text-transform\u00e9:uppercase", {}},
      {u"vertical-align:TOP;EMPTY-CELLS:show", {{"vertical-align", "top"}, {"empty-cells", "show"}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(platform::Utf16ToUtf8(c.text));
    TTextPool pool;
    TProperties parsed;
    ParseStyleAttribute(c.text, pool, parsed);
    TProperties expected;
    TStyleAttributeSink sink(pool, expected, false);
    for (const auto& [name, value] : c.declarations) ExpandDeclaration(name, value, sink);
    EXPECT_EQ(Describe(parsed), Describe(expected));
  }
}

}  // namespace
}  // namespace talmeko::htmlview
