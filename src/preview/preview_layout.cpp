#include "preview/preview_layout.h"

#include <cmath>

namespace talmeko::preview {
namespace {

constexpr double kPresetZooms[] = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};
constexpr int kMargin = 10;

// Sheet inches times zoom times screen pixels per inch, truncated as the
// panels take whole pixels.
int ScreenPixels(int ppi, double zoom, int extent, int resolution) {
  const long double pixels = static_cast<long double>(ppi) * zoom * extent / resolution;
  return static_cast<int>(pixels);
}

int NearestEven(long double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

double ZoomOfItem(int item, double customZoom, const TPageArea& area, const platform::SheetMetrics& sheet) {
  if (item == ziCustom) return customZoom;
  if (item == ziFitToPage || item == ziFitToWidth) {
    if (!SheetUsable(sheet)) return 1.0;
    const long double ppi = area.ppi;
    if (item == ziFitToPage) {
      return static_cast<double>(((area.clientHeight - 20) / ppi) /
                                 (static_cast<long double>(sheet.physicalHeight) / sheet.logPixelsY));
    }
    return static_cast<double>(((area.clientWidth - 20) / ppi) /
                               (static_cast<long double>(sheet.physicalWidth) / sheet.logPixelsX));
  }
  if (item > ziCustom && item < kZoomItemCount) return kPresetZooms[item - 3];
  return 1.0;
}

TPreviewLayout LayOutPages(double zoom, bool twoPages, const TPageArea& area, const platform::SheetMetrics& sheet) {
  TPreviewLayout out;
  out.zoom = zoom;
  if (SheetUsable(sheet)) {
    out.pageHeight = ScreenPixels(area.ppi, zoom, sheet.physicalHeight, sheet.logPixelsY);
    out.pageWidth = ScreenPixels(area.ppi, zoom, sheet.physicalWidth, sheet.logPixelsX);
  }
  const int neededWidth = out.pageWidth + 2 * kMargin + (twoPages ? out.pageWidth + 2 * kMargin : 0);
  const int neededHeight = out.pageHeight + 2 * kMargin;
  out.containHeight = neededHeight >= area.clientHeight ? neededHeight : area.clientHeight - 1;
  out.containWidth = neededWidth >= area.clientWidth ? neededWidth : area.clientWidth - 1;
  out.pageTop = out.containHeight > out.pageHeight + 2 * kMargin ? out.containHeight / 2 - out.pageHeight / 2 : kMargin;
  out.pageLeft = neededWidth < out.containWidth ? out.containWidth / 2 - (neededWidth - 2 * kMargin) / 2 : kMargin;
  out.page2Left = out.pageLeft + out.pageWidth + 2 * kMargin;
  out.scrollBars = out.pageWidth + 2 * kMargin > area.fullWidth || out.pageHeight + 2 * kMargin > area.fullHeight;
  return out;
}

std::vector<int> GridPositions(int extent, int resolution, double perInch) {
  std::vector<int> positions;
  if (resolution <= 0) return positions;
  const int count = NearestEven(static_cast<long double>(extent) / resolution * perInch);
  for (int i = 1; i <= count; ++i) positions.push_back(NearestEven(i * static_cast<long double>(resolution) / perInch));
  return positions;
}

double ClickedZoom(double zoom, bool left, bool right) {
  if (left && zoom < 20) zoom *= 1.5;
  if (right && zoom > 0.1) zoom /= 1.5;
  return zoom;
}

int RecentredScroll(int pageSize, float fraction, int areaSize) {
  return static_cast<int>(static_cast<float>(pageSize) * fraction) - areaSize / 2;
}

}  // namespace talmeko::preview
