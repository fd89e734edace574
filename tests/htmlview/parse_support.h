#pragma once
// Loading page text into the view engine in tests, with a font catalogue that
// has exactly the families a test says are installed.

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "htmlview/base/text_util.h"
#include "htmlview/layout/document_dump.h"
#include "htmlview/view/html_view.h"

namespace talmeko::htmlview::testing {

class FakeFontCatalogue : public platform::FontCatalogue {
 public:
  explicit FakeFontCatalogue(std::set<std::string> lowerNames = {"arial", "times new roman", "courier new"})
      : installed_(std::move(lowerNames)) {}
  bool IsInstalled(std::string_view family) const override {
    std::string lower;
    for (char c : family) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return installed_.count(lower) > 0;
  }

 private:
  std::set<std::string> installed_;
};

// A view engine with its own catalogue; Load replaces its document.
class LoadedView {
 public:
  explicit LoadedView(std::set<std::string> installed = {"arial", "times new roman", "courier new"})
      : catalogue_(std::move(installed)), view_(catalogue_, platform::ScreenInfo{}) {}

  LoadedView& Load(std::string_view bytes) {
    std::stringstream stream;
    stream << bytes;
    view_.LoadFromStream(&stream, "", TDocType::HTMLType);
    return *this;
  }
  THtmlView& View() { return view_; }
  const ThtDocument& Document() const { return view_.Document(); }
  std::string Dump() const { return DumpDocument(view_.Document()); }

 private:
  FakeFontCatalogue catalogue_;
  THtmlView view_;
};

// A result page of the program's own shape: a header row of brand names,
// then per colour a row whose cells each hold a swatch and a number list.
struct PageColour {
  std::vector<std::pair<std::string, std::string>> cells;  // colour code, numbers (Windows-1251)
};

inline std::string ResultPage(const std::vector<std::string>& brands, const std::vector<PageColour>& rows) {
  std::string page = "<html><head><style>table{font-family:Arial,sans-serif}</style></head><body><table><tr>";
  for (const auto& b : brands) page += "<td>" + b + "</td>";
  for (const auto& row : rows) {
    page += "<tr>";
    for (const auto& [code, numbers] : row.cells) {
      page += "<td><table><tr><td style=\"background:" + code + ";width:50px\"></td><td>" + numbers +
              "</td></table></td>";
    }
  }
  return page + "</table></body></html>";
}

}  // namespace talmeko::htmlview::testing
