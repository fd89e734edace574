#include "htmlview/print/page_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "htmlview/base/exceptions.h"

namespace talmeko::htmlview {
namespace {

// Sheets beyond a few metres at a few thousand dots per inch come only from a
// broken driver; the bound keeps every product below within 64 bits and the
// results within int.
constexpr long long kMaxDevicePixels = 1'000'000;

bool InRange(long long v, long long low, long long high) { return v >= low && v <= high; }

void CheckSheet(const platform::SheetMetrics& s) {
  const bool valid = InRange(s.logPixelsX, 1, 100'000) && InRange(s.logPixelsY, 1, 100'000) &&
                     InRange(s.physicalWidth, 1, kMaxDevicePixels) && InRange(s.physicalHeight, 1, kMaxDevicePixels) &&
                     InRange(s.printableWidth, 1, s.physicalWidth) && InRange(s.printableHeight, 1, s.physicalHeight) &&
                     InRange(s.physicalOffsetX, 0, s.physicalWidth - s.printableWidth) &&
                     InRange(s.physicalOffsetY, 0, s.physicalHeight - s.printableHeight);
  if (!valid) throw EPrinter("Printer reports a page size that is not valid");
}

int Margin(double centimetres, int pixelsPerInch) {
  const double pixels = centimetres / 2.54 * pixelsPerInch;
  if (!std::isfinite(pixels) || pixels < 0 || pixels > kMaxDevicePixels) {
    throw EIllegalArgument("Print margins leave no room for a page");
  }
  return RoundHalfEven(pixels);
}

int ToLogical(long long device, int unitsPerInch, int pixelsPerInch) {
  return RoundHalfEven(static_cast<double>(device) * unitsPerInch / pixelsPerInch);
}

}  // namespace

int RoundHalfEven(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max())) {
    throw EIllegalArgument("Print scale or margins out of range");
  }
  return static_cast<int>(r);
}

platform::Mapping TPageGeometry::PageMapping(const platform::SheetMetrics& sheet) const {
  platform::Mapping m;
  m.anisotropic = true;
  m.windowExt = {unitsPerInch, unitsPerInch};
  m.viewportExt = {sheet.logPixelsX, sheet.logPixelsY};
  return m;
}

TPageGeometry ComputePageGeometry(const platform::SheetMetrics& sheet, const TPrintMargins& margins,
                                  int screenPixelsPerInch) {
  CheckSheet(sheet);
  const double units = static_cast<double>(screenPixelsPerInch) * margins.scale;
  if (!std::isfinite(units) || units < 1 || units > 100'000) throw EIllegalArgument("Print scale must be positive");
  TPageGeometry g;
  g.unitsPerInch = RoundHalfEven(units);
  const int rightOffset = std::max(0, sheet.physicalWidth - sheet.printableWidth - sheet.physicalOffsetX);
  const int bottomOffset = std::max(0, sheet.physicalHeight - sheet.printableHeight - sheet.physicalOffsetY);
  g.leftMargin = Margin(margins.left, sheet.logPixelsX) - sheet.physicalOffsetX;
  g.topMargin = Margin(margins.top, sheet.logPixelsY) - sheet.physicalOffsetY;
  g.printableWidth = sheet.printableWidth + rightOffset - g.leftMargin - Margin(margins.right, sheet.logPixelsX);
  g.printableHeight = sheet.printableHeight + bottomOffset - g.topMargin - Margin(margins.bottom, sheet.logPixelsY);
  g.left = ToLogical(g.leftMargin, g.unitsPerInch, sheet.logPixelsX);
  g.width = ToLogical(g.printableWidth, g.unitsPerInch, sheet.logPixelsX);
  g.height = ToLogical(g.printableHeight, g.unitsPerInch, sheet.logPixelsY);
  g.top = ToLogical(g.topMargin, g.unitsPerInch, sheet.logPixelsY);
  if (g.width < 1 || g.height < 1 || g.printableWidth < 1 || g.printableHeight < 1) {
    throw EIllegalArgument("Print margins leave no room for a page");
  }
  g.deviceClip = {g.leftMargin, std::max(0, g.topMargin),
                  std::min(sheet.printableWidth, g.leftMargin + g.printableWidth + 2),
                  std::min(sheet.printableHeight, g.topMargin + g.printableHeight)};
  return g;
}

}  // namespace talmeko::htmlview
