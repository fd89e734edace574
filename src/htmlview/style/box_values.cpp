#include "htmlview/style/box_values.h"

#include <cstdint>

#include "htmlview/style/lengths.h"

namespace talmeko::htmlview {
namespace {

PropIndex SideProp(PropIndex top, int side) { return static_cast<PropIndex>(top + side); }

bool BorderWidthToPixels(const TPropValue& v, int base, const TLengthContext& ctx, int& px) {
  const std::string_view t = v.Text();
  if (t == "thin") px = 2;
  else if (t == "medium") px = 4;
  else if (t == "thick") px = 6;
  else return ValueToPixels(v, base, ctx, px);
  return true;
}

}  // namespace

int BorderStyleOf(const TProperties& props, TSide side) {
  const TPropValue& v = props[SideProp(BorderTopStyle, side)];
  if (v.HoldsNoValue()) return -1;
  if (v.IsNumber()) return static_cast<int>(v.Int());
  return BorderStyleFromText(v.Text());
}

TBoxValues GetBoxValues(const TProperties& props, int baseWidth, int pixelsPerInch) {
  const double emPixels = props.FontSizePoints(12) * pixelsPerInch / 72.0;
  const TLengthContext ctx{pixelsPerInch, emPixels, emPixels / 2};
  TBoxValues b;
  // A slot holding no value leaves its side as a new TBoxValues has it, so
  // only the slots that hold one are read.
  const std::uint64_t valued = props.ValuedSlots();
  auto holds = [valued](PropIndex i) { return ((valued >> i) & 1) != 0; };
  // Margins, paddings and borders: most sets give none of them.
  for (int s = 0; s < 4 && (valued & kBoxSideSlots) != 0; ++s) {
    if (holds(SideProp(MarginTop, s))) {
      const TPropValue& m = props[SideProp(MarginTop, s)];
      b.marginAuto[s] = m.Text() == "auto" && (s == sLeft || s == sRight);
      b.marginSet[s] = ValueToPixels(m, baseWidth, ctx, b.margin[s]);
    }
    if (holds(SideProp(PaddingTop, s))) {
      b.paddingSet[s] = ValueToPixels(props[SideProp(PaddingTop, s)], baseWidth, ctx, b.padding[s]);
      if (b.padding[s] < 0) b.padding[s] = 0;
    }
    if (holds(SideProp(BorderTopStyle, s))) {
      const int style = BorderStyleOf(props, static_cast<TSide>(s));
      b.borderStyleSet[s] = style >= 0;
      b.borderStyle[s] = style > 0 ? style : bssNone;
      if (b.borderStyle[s] != bssNone) {
        // A border with a style but no width is medium, as browsers draw it.
        if (!BorderWidthToPixels(props[SideProp(BorderTopWidth, s)], baseWidth, ctx, b.borderWidth[s])) {
          b.borderWidth[s] = 4;
        }
        if (b.borderWidth[s] < 0) b.borderWidth[s] = 0;
      }
    }
    if (holds(SideProp(BorderTopColor, s))) {
      const TPropValue& c = props[SideProp(BorderTopColor, s)];
      if (c.IsInt()) b.borderColor[s] = static_cast<platform::Color>(c.Int());
    }
  }
  if (holds(Width)) {
    b.widthAuto = props[Width].Text() == "auto";
    b.widthSet = ValueToPixels(props[Width], baseWidth, ctx, b.width);
  }
  if (holds(Height)) b.heightSet = ValueToPixels(props[Height], baseWidth, ctx, b.height);
  return b;
}

}  // namespace talmeko::htmlview
