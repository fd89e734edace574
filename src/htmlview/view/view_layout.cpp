#include "htmlview/view/view_layout.h"

#include <algorithm>

namespace talmeko::htmlview {
namespace {

// A single border is a sunken edge of two pixels on every side.
constexpr int kSingleBorderWidth = 2;

TScrollBarState MakeBar(int extent, int visibleSize, int smallChange) {
  TScrollBarState bar;
  bar.visible = true;
  bar.enabled = visibleSize < extent;
  bar.extent = extent;
  bar.page = std::max(0, visibleSize);
  bar.smallChange = smallChange;
  bar.largeChange = std::max(kMinLargeChange, visibleSize - smallChange);
  return bar;
}

}  // namespace

TViewLayout::TViewLayout(const ViewDefaults& defaults, const platform::ScreenInfo& screen, TLayoutTally& tally)
    : defaults_(defaults), screen_(screen), tally_(tally) {}

bool TViewLayout::VerticalAllowed() const {
  return defaults_.ScrollBars == TScrollStyle::ssVertical || defaults_.ScrollBars == TScrollStyle::ssBoth;
}

bool TViewLayout::HorizontalAllowed() const {
  return defaults_.ScrollBars == TScrollStyle::ssHorizontal || defaults_.ScrollBars == TScrollStyle::ssBoth;
}

int TViewLayout::BorderWidth() const {
  return defaults_.BorderStyle == TBorderStyle::htSingle ? kSingleBorderWidth : 0;
}

TViewLayoutResult TViewLayout::Run(TViewDocument& document, platform::Canvas& canvas, platform::Size controlSize) {
  document_ = &document;
  canvas_ = &canvas;
  const int border = 2 * BorderWidth();
  const platform::Size area{std::max(0, controlSize.width - border), std::max(0, controlSize.height - border)};

  TViewLayoutResult result;
  result.document = LayOutDocument(area);
  result.layoutWidth = layoutWidth_;
  SetScrollBars(area, result);

  const bool showVScroll = (defaults_.HtOptions & htShowVScroll) != 0;
  if (document.HasContent() && !showVScroll) tally_.Record(result.vertical.visible);
  return result;
}

TLayoutResult TViewLayout::LayOutDocument(platform::Size area) {
  if (!VerticalAllowed()) return LayOutAt(area.width, area.height);
  if (defaults_.HtOptions & htShowVScroll) {
    return LayOutAt(area.width - screen_.verticalScrollBarWidth, area.height);
  }
  return tally_.NarrowFirst() ? LayOutNarrowFirst(area) : LayOutFullFirst(area);
}

// Most documents lately needed the bar: start narrow, and keep that layout
// outright for a document so long that the full width could not make it fit.
TLayoutResult TViewLayout::LayOutNarrowFirst(platform::Size area) {
  const int narrow = area.width - screen_.verticalScrollBarWidth;
  const TLayoutResult first = LayOutAt(narrow, area.height);
  if (first.documentHeight > 2 * area.height) return first;
  const TLayoutResult full = LayOutAt(area.width, area.height);
  if (full.documentHeight <= area.height) return full;
  return LayOutAt(narrow, area.height);
}

TLayoutResult TViewLayout::LayOutFullFirst(platform::Size area) {
  const TLayoutResult full = LayOutAt(area.width, area.height);
  if (full.documentHeight <= area.height) return full;
  const int narrow = area.width - screen_.verticalScrollBarWidth;
  const TLayoutResult second = LayOutAt(narrow, area.height);
  if (second.documentHeight > area.height) return second;
  return LayOutAt(area.width, area.height);
}

TLayoutResult TViewLayout::LayOutAt(int width, int height) {
  layoutWidth_ = std::max(0, width);
  return document_->LayOut(*canvas_, layoutWidth_, std::max(0, height));
}

void TViewLayout::SetScrollBars(platform::Size area, TViewLayoutResult& result) const {
  const int docHeight = result.document.documentHeight;
  const int hExtent = std::min(result.document.scrollWidth, kMaxHorizontalExtent);
  const bool showVScroll = (defaults_.HtOptions & htShowVScroll) != 0;

  bool vNeeded = VerticalAllowed() && (area.height < docHeight || showVScroll);
  int width = area.width - (vNeeded ? screen_.verticalScrollBarWidth : 0);
  const bool hNeeded = HorizontalAllowed() && width < hExtent;
  const int height = area.height - (hNeeded ? screen_.horizontalScrollBarHeight : 0);
  if (!vNeeded && VerticalAllowed() && height < docHeight) {
    vNeeded = true;
    width -= screen_.verticalScrollBarWidth;
  }

  result.drawingArea = {std::max(0, width), std::max(0, height)};
  result.vertical = vNeeded ? MakeBar(docHeight, result.drawingArea.height, kVerticalSmallChange) : TScrollBarState{};
  result.horizontal = hNeeded ? MakeBar(hExtent, result.drawingArea.width, kHorizontalSmallChange) : TScrollBarState{};
}

}  // namespace talmeko::htmlview
