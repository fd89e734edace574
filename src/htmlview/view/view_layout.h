#pragma once
// Lays the view out for the size of the control: chooses the width the
// document is laid out for and sets up both scroll bars from the result.

#include "htmlview/layout/view_document.h"
#include "htmlview/style/view_defaults.h"
#include "htmlview/view/view_layout_tally.h"
#include "platform/canvas.h"
#include "platform/font_catalogue.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

inline constexpr int kMaxHorizontalExtent = 6000;
inline constexpr int kVerticalSmallChange = 16;
inline constexpr int kHorizontalSmallChange = 15;
inline constexpr int kMinLargeChange = 16;

struct TScrollBarState {
  bool visible = false;
  bool enabled = false;
  int extent = 0;  // the maximum
  int page = 0;    // the visible size
  int smallChange = 0;
  int largeChange = 0;
  int MaxPosition() const { return extent > page ? extent - page : 0; }
  friend bool operator==(const TScrollBarState&, const TScrollBarState&) = default;
};

struct TViewLayoutResult {
  int layoutWidth = 0;
  TLayoutResult document;
  platform::Size drawingArea;  // the control less its border and the shown bars
  TScrollBarState vertical;
  TScrollBarState horizontal;
};

class TViewLayout {
 public:
  TViewLayout(const ViewDefaults& defaults, const platform::ScreenInfo& screen, TLayoutTally& tally);

  TViewLayoutResult Run(TViewDocument& document, platform::Canvas& canvas, platform::Size controlSize);

 private:
  bool VerticalAllowed() const;
  bool HorizontalAllowed() const;
  int BorderWidth() const;
  TLayoutResult LayOutDocument(platform::Size area);
  TLayoutResult LayOutNarrowFirst(platform::Size area);
  TLayoutResult LayOutFullFirst(platform::Size area);
  TLayoutResult LayOutAt(int width, int height);
  void SetScrollBars(platform::Size area, TViewLayoutResult& result) const;

  const ViewDefaults& defaults_;
  const platform::ScreenInfo& screen_;
  TLayoutTally& tally_;
  TViewDocument* document_ = nullptr;
  platform::Canvas* canvas_ = nullptr;
  int layoutWidth_ = 0;
};

}  // namespace talmeko::htmlview
