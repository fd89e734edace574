#pragma once
// The text selection made with the left button: its anchor, the drag, and
// how fast the view scrolls while the pointer is dragged outside.

#include "htmlview/layout/view_document.h"

namespace talmeko::htmlview {

inline constexpr int kAutoScrollFarMargin = 15;
inline constexpr int kAutoScrollFarFactor = 8;

class TViewSelection {
 public:
  const TSelection& Current() const { return selection_; }
  bool Dragging() const { return dragging_; }

  // A press at a position; with extend the previous anchor stays.
  void Press(int position, bool extend);
  void DragTo(int position);
  void SelectWord(const TSelection& word);
  void Release() { dragging_ = false; }
  void Clear();

  // The vertical scroll for one tick of dragging with the pointer at y in a
  // drawing area of the given height: 0 inside, one small change outside,
  // eight when more than 15 pixels beyond the edge; negative upwards.
  static int AutoScrollStep(int y, int height, int smallChange);

 private:
  TSelection selection_;
  bool dragging_ = false;
};

}  // namespace talmeko::htmlview
