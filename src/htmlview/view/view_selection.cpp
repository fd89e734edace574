#include "htmlview/view/view_selection.h"

namespace talmeko::htmlview {

void TViewSelection::Press(int position, bool extend) {
  dragging_ = true;
  if (extend && selection_.anchor >= 0) {
    selection_.caret = position;
    return;
  }
  selection_.anchor = position;
  selection_.caret = position;
}

void TViewSelection::DragTo(int position) {
  if (!dragging_ || position < 0) return;
  if (selection_.anchor < 0) selection_.anchor = position;
  selection_.caret = position;
}

void TViewSelection::SelectWord(const TSelection& word) {
  dragging_ = false;
  if (word.IsEmpty()) return;
  selection_ = {word.Start(), word.End()};
}

void TViewSelection::Clear() {
  selection_ = {};
  dragging_ = false;
}

int TViewSelection::AutoScrollStep(int y, int height, int smallChange) {
  if (y < 0) return y < -kAutoScrollFarMargin ? -kAutoScrollFarFactor * smallChange : -smallChange;
  if (y >= height) {
    return y - height >= kAutoScrollFarMargin ? kAutoScrollFarFactor * smallChange : smallChange;
  }
  return 0;
}

}  // namespace talmeko::htmlview
