#pragma once
// Middle-button panning: after a press the page creeps towards the pointer
// every tick, faster the farther the pointer is from the press point, until
// the next press.

#include "platform/geometry.h"

namespace talmeko::htmlview {

inline constexpr int kPanDeadZone = 20;
inline constexpr int kPanSlack = 16;
inline constexpr int kPanDivisor = 4;
inline constexpr int kTickMilliseconds = 100;

class TViewPanning {
 public:
  bool Active() const { return active_; }
  void Start(platform::Point origin);
  void Stop() { active_ = false; }
  void MoveTo(platform::Point pointer) { pointer_ = pointer; }
  // The vertical move for one tick, positive downwards; 0 inside the dead zone.
  int Step() const;

 private:
  bool active_ = false;
  platform::Point origin_;
  platform::Point pointer_;
};

}  // namespace talmeko::htmlview
