#pragma once
// The sheet most printing tests lay out on: A4 at 600 pixels per inch, its
// printable area 100 pixels in from every edge.

#include "platform/printer_spooler.h"

namespace talmeko::testing {

inline constexpr platform::SheetMetrics kA4At600Dpi{100, 100, 4960, 7016, 4760, 6816, 600, 600};

}  // namespace talmeko::testing
