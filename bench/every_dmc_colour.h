#pragma once
// The workload most benchmarks share: every DMC colour of the shipped
// palette, as colour list items and as the result page showing all five
// columns (a complete conversion chart).

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/tables.h"
#include "report/page_host.h"
#include "report/result_page_builder.h"

namespace talmeko::bench {

inline const catalogue::Tables& ShippedTables() {
  static const catalogue::Tables tables = catalogue::LoadTables();
  return tables;
}

inline std::vector<std::string> EveryDmcColour() {
  std::vector<std::string> items;
  for (const catalogue::Palette& entry : ShippedTables().PaletteTable()) {
    if (entry.Brand == "dmc") items.push_back(entry.Number + " (dmc)");
  }
  return items;
}

// A page host with every column shown that keeps the page it is given.
class AllColumnsHost final : public report::PageHost {
 public:
  explicit AllColumnsHost(std::vector<std::string> items) : items_(std::move(items)) {}
  bool ColumnShown(std::size_t) const override { return true; }
  bool NearestColourMode() const override { return false; }
  std::size_t ColourCount() const override { return items_.size(); }
  std::string ColourItem(std::size_t index) const override { return items_[index]; }
  void RepaintColourList() override {}
  void LoadPage(std::string_view bytes) override { page.assign(bytes); }
  void EnableResultButtons() override {}
  void SetWaitCursor(bool) override {}
  std::string page;

 private:
  std::vector<std::string> items_;
};

inline const std::string& EveryDmcColourPage() {
  static const std::string page = [] {
    AllColumnsHost host(EveryDmcColour());
    report::ResultPageBuilder builder(ShippedTables(), host);
    builder.RebuildPage();
    return host.page;
  }();
  return page;
}

}  // namespace talmeko::bench
