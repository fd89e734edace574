#pragma once
// The workload most benchmarks share: every DMC colour of the shipped
// palette, as colour list items and as the result page showing all five
// columns (a complete conversion chart).

#include <string>
#include <vector>

#include "support/result_page.h"

namespace talmeko::bench {

using testing::AllColumnsHost;
using testing::ShippedTables;

inline std::vector<std::string> EveryDmcColour() { return testing::DmcColours(); }

inline const std::string& EveryDmcColourPage() {
  static const std::string page = testing::ResultPageOf(EveryDmcColour());
  return page;
}

}  // namespace talmeko::bench
