#include "htmlview/view/view_panning.h"

namespace talmeko::htmlview {

void TViewPanning::Start(platform::Point origin) {
  active_ = true;
  origin_ = origin;
  pointer_ = origin;
}

int TViewPanning::Step() const {
  if (!active_) return 0;
  const int distance = pointer_.y - origin_.y;
  if (distance > kPanDeadZone) return (distance - kPanSlack) / kPanDivisor;
  if (distance < -kPanDeadZone) return (distance + kPanSlack) / kPanDivisor;
  return 0;
}

}  // namespace talmeko::htmlview
