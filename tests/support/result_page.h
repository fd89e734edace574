#pragma once
// The result page the program shows for a list of colours with every brand
// column on, built from the shipped catalogue, for tests and benchmarks that
// need the real page.

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/tables.h"
#include "report/page_host.h"
#include "report/result_page_builder.h"

namespace talmeko::testing {

inline const catalogue::Tables& ShippedTables() {
  static const catalogue::Tables tables = catalogue::LoadTables();
  return tables;
}

// The first DMC colours of the shipped palette as colour list items, all of them by default.
inline std::vector<std::string> DmcColours(std::size_t count = static_cast<std::size_t>(-1)) {
  std::vector<std::string> items;
  for (const catalogue::Palette& entry : ShippedTables().PaletteTable()) {
    if (items.size() == count) break;
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

inline std::string ResultPageOf(std::vector<std::string> items) {
  AllColumnsHost host(std::move(items));
  report::ResultPageBuilder builder(ShippedTables(), host);
  builder.RebuildPage();
  return host.page;
}

}  // namespace talmeko::testing
