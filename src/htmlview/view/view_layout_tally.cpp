#include "htmlview/view/view_layout_tally.h"

namespace talmeko::htmlview {

TLayoutTally& TLayoutTally::Process() {
  static TLayoutTally tally;
  return tally;
}

}  // namespace talmeko::htmlview
