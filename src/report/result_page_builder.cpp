#include "report/result_page_builder.h"

#include "catalogue/brands.h"
#include "catalogue/conversion.h"
#include "report/colour_item.h"

namespace talmeko::report {
namespace {

constexpr std::string_view kFrameStart =
    "<html><head><style>table{font-family:Arial,sans-serif}</style></head><body><table><tr>";
constexpr std::string_view kFrameEnd = "</table></body></html>";
constexpr std::string_view kCellStart = "<td><table><tr><td style=\"background:";
constexpr std::string_view kSwatchEnd = ";width:50px\"></td><td>";
constexpr std::string_view kCellEnd = "</td></table></td>";

class WaitCursor {
 public:
  explicit WaitCursor(PageHost& host) : host_(host) { host_.SetWaitCursor(true); }
  ~WaitCursor() { host_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  PageHost& host_;
};

}  // namespace

bool ResultPageBuilder::BuildRow(std::string_view number, std::string_view brand) {
  if (!AppendRow(number, brand)) return false;
  ShowPage();
  host_.EnableResultButtons();
  return true;
}

void ResultPageBuilder::RebuildPage() {
  WaitCursor wait(host_);
  body_.clear();
  if (host_.ColourCount() == 0) {
    host_.LoadPage(std::string_view());
    return;
  }
  BuildAllRows();
}

bool ResultPageBuilder::BuildAllRows() {
  body_.clear();
  bool last = false;
  bool anyRow = false;
  const std::size_t count = host_.ColourCount();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string item = host_.ColourItem(i);
    const ColourItemParts parts = SplitColourItem(item);
    last = AppendRow(parts.number, parts.brand);
    anyRow = anyRow || last;
  }
  if (anyRow) {
    ShowPage();
    host_.EnableResultButtons();
  } else {
    // The page shown before belongs to a list that no longer exists.
    host_.LoadPage(std::string_view());
  }
  return last;
}

bool ResultPageBuilder::AppendRow(std::string_view number, std::string_view brand) {
  catalogue::Equivalents result;
  if (host_.NearestColourMode()) {
    result = catalogue::FindNearest(tables_, number, brand);
  } else {
    result = catalogue::FindExact(tables_, number, brand);
    catalogue::DmcPass(tables_, result);
  }
  if (!result.Found) {
    host_.RepaintColourList();
    return false;
  }
  body_.append("<tr>");
  for (std::size_t column = 0; column < catalogue::kTableBrands.size(); ++column) {
    if (!host_.ColumnShown(column)) continue;
    const std::string_view key = catalogue::kTableBrands[column];
    AppendCell(result.Slot(key), key);
  }
  return true;
}

void ResultPageBuilder::AppendCell(std::string_view numbers, std::string_view brand) {
  body_.append(kCellStart);
  body_.append(catalogue::FindColorCode(tables_, numbers, brand));
  body_.append(kSwatchEnd);
  body_.append(numbers);
  body_.append(kCellEnd);
}

void ResultPageBuilder::ShowPage() {
  page_.clear();
  page_.reserve(kFrameStart.size() + 128 + body_.size() + kFrameEnd.size());
  page_.append(kFrameStart);
  for (std::size_t column = 0; column < catalogue::kTableBrands.size(); ++column) {
    if (!host_.ColumnShown(column)) continue;
    page_.append("<td>");
    page_.append(catalogue::BrandDisplayName(catalogue::kTableBrands[column]).value_or(std::string_view()));
    page_.append("</td>");
  }
  page_.append(body_);
  page_.append(kFrameEnd);
  host_.LoadPage(page_);
}

}  // namespace talmeko::report
