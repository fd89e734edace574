#pragma once
// Where a printed page's content goes on the sheet. Drawing uses logical units
// of 1/S inch (S: the screen's pixels per inch times the print scale), mapped
// to the printer's pixels; margins are measured from the sheet's edges.

#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/printer_spooler.h"

namespace talmeko::htmlview {

// Margins in centimetres and the scale, as the view's print settings hold them.
struct TPrintMargins {
  double left = 2.0;
  double right = 2.0;
  double top = 2.0;
  double bottom = 2.0;
  double scale = 1.0;
};

struct TPageGeometry {
  int unitsPerInch = 0;  // S
  // Device values.
  int leftMargin = 0;
  int topMargin = 0;
  int printableWidth = 0;
  int printableHeight = 0;
  platform::Rect deviceClip;
  // Logical values.
  int left = 0;    // the page rectangle's left edge
  int top = 0;     // T
  int width = 0;   // W
  int height = 0;  // H

  platform::Rect PageRect() const { return {left, top, left + width, top + height}; }
  // S logical units to the printer's pixels per inch, both ways.
  platform::Mapping PageMapping(const platform::SheetMetrics& sheet) const;
};

// Rounds to the nearest integer, halves to even.
int RoundHalfEven(double value);

// Raises EPrinter for a sheet no printer has (no resolution, no printable
// area, a printable area outside the sheet) and EIllegalArgument for a scale
// or margins that leave no room for a page.
TPageGeometry ComputePageGeometry(const platform::SheetMetrics& sheet, const TPrintMargins& margins,
                                  int screenPixelsPerInch);

}  // namespace talmeko::htmlview
