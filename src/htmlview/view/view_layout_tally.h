#pragma once
// Remembers whether recent documents needed the vertical scroll bar, so that
// the view usually guesses the final width at the first layout and lays a
// long document out only once.

namespace talmeko::htmlview {

class TLayoutTally {
 public:
  // The one tally all views of the process share.
  static TLayoutTally& Process();

  int Value() const { return value_; }
  bool NarrowFirst() const { return value_ >= 0; }
  void Record(bool neededVerticalBar) { value_ += neededVerticalBar ? 1 : -1; }

 private:
  int value_ = 0;
};

}  // namespace talmeko::htmlview
