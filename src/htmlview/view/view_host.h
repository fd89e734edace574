#pragma once
// What the view logic asks of the widget that shows it.

namespace talmeko::htmlview {

class TViewHost {
 public:
  virtual ~TViewHost() = default;
  // Ranges, page sizes, visibility or positions of the scroll bars changed.
  virtual void ScrollBarsChanged() = 0;
  // The whole drawing area must be painted again.
  virtual void Invalidate() = 0;
  // The image moved by (dx, dy); only the uncovered strip needs painting.
  virtual void ScrollImage(int dx, int dy) = 0;
  // While active, the widget calls the view's Tick every 100 milliseconds.
  virtual void SetTimerActive(bool active) = 0;
};

}  // namespace talmeko::htmlview
