#pragma once
// What the view needs of a laid-out document. The view logic scrolls, selects
// and paints through this interface only, so it is tested with small fakes and
// knows nothing of tables or text.

#include <string>

#include "platform/canvas.h"
#include "platform/font_catalogue.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

struct TPageBreak;

// Character positions are boundaries between characters of the document text,
// 0 before the first; the selection covers [Start(), End()). -1 means none.
struct TSelection {
  int anchor = -1;
  int caret = -1;
  bool IsEmpty() const { return anchor < 0 || caret < 0 || anchor == caret; }
  int Start() const { return IsEmpty() ? -1 : (anchor < caret ? anchor : caret); }
  int End() const { return IsEmpty() ? -1 : (anchor < caret ? caret : anchor); }
  friend bool operator==(const TSelection&, const TSelection&) = default;
};

struct TLayoutResult {
  int documentHeight = 0;
  int scrollWidth = 0;
};

// Everything a paint request hands the document. Document coordinates map to
// the drawing area as x + xOffset and y - yTop.
struct TPaintContext {
  platform::Rect clip;  // drawing-area coordinates
  int xOffset = 0;      // minus the horizontal scroll position
  int yTop = 0;         // the vertical scroll position
  TSelection selection;
  platform::Color background = platform::Rgb(255, 255, 255);  // resolved page background
  platform::ScreenInfo screen;  // resolves the system colours text and borders are given in
  // Printing: the page's break, and whether backgrounds go on paper (without
  // them very light text is printed grey).
  TPageBreak* page = nullptr;
  bool cellBackgrounds = true;
};

class TViewDocument {
 public:
  virtual ~TViewDocument() = default;

  virtual bool HasContent() const = 0;
  // Lays the document out for a drawing area of the given size, measuring with the canvas.
  virtual TLayoutResult LayOut(platform::Canvas& canvas, int width, int height) = 0;
  // Draws the last layout; rows entirely outside the clip's vertical range are skipped.
  virtual void Paint(platform::Canvas& canvas, const TPaintContext& context) = 0;
  // The character boundary nearest to a point in document coordinates, -1 when there is no text.
  virtual int CharPosAt(platform::Point documentPoint) const = 0;
  // The bounds of the word around a position, as a selection; empty when there is none.
  virtual TSelection WordAt(int position) const = 0;
  // The selected text as plain text: table rows on lines, cells split by tabs.
  virtual std::u16string SelectedText(TSelection selection) const = 0;
};

}  // namespace talmeko::htmlview
