#pragma once
// The arithmetic of the preview window's page area: the zoom of each list
// item, where the pages go inside the scrolled panel, the grid lines and the
// zoom tool's steps. Plain numbers in, plain numbers out, so the window only
// applies what these functions decide.

#include <vector>

#include "platform/printer_spooler.h"

namespace talmeko::preview {

// Whether the sheet the page recorder measured can be scaled: a recording
// without pages leaves every metric zero.
inline bool SheetUsable(const platform::SheetMetrics& sheet) {
  return sheet.physicalWidth > 0 && sheet.physicalHeight > 0 && sheet.logPixelsX > 0 && sheet.logPixelsY > 0;
}

// The items of the zoom list, in list order.
enum TZoomItem : int { ziFitToPage = 0, ziFitToWidth = 1, ziCustom = 2 };
inline constexpr int kZoomItemCount = 12;

// What the page area measures: the client area (without scroll bars), the
// whole area and the screen's pixels per inch.
struct TPageArea {
  int clientWidth = 0;
  int clientHeight = 0;
  int fullWidth = 0;
  int fullHeight = 0;
  int ppi = 96;
};

struct TPreviewLayout {
  double zoom = 1.0;
  int pageWidth = 0;
  int pageHeight = 0;
  int containWidth = 0;
  int containHeight = 0;
  int pageLeft = 0;
  int pageTop = 0;
  int page2Left = 0;
  bool scrollBars = false;
};

// The zoom factor the item asks for; `customZoom` is the current one. The fit
// items need a usable sheet and give 1.0 without one.
double ZoomOfItem(int item, double customZoom, const TPageArea& area, const platform::SheetMetrics& sheet);

// Sizes and positions of the panels at zoom z, one page or two side by side.
TPreviewLayout LayOutPages(double zoom, bool twoPages, const TPageArea& area, const platform::SheetMetrics& sheet);

// Grid line positions along one side of the sheet (extent pixels at
// resolution pixels per inch), `perInch` lines per inch (1, or 2.54 for
// centimetres), rounded halves to even; the first line is one step from 0.
std::vector<int> GridPositions(int extent, int resolution, double perInch);

// The zoom tool: a left click multiplies by 1.5 below 20, a right click
// divides by 1.5 above 0.1; both apply when both buttons are down.
double ClickedZoom(double zoom, bool left, bool right);

// The scroll position that brings the clicked fraction of the page near the
// middle of the page area.
int RecentredScroll(int pageSize, float fraction, int areaSize);

}  // namespace talmeko::preview
