#include "htmlview/layout/selection_text.h"

#include <algorithm>

#include "htmlview/layout/table_layout.h"

namespace talmeko::htmlview {
namespace {

struct Range {
  int start;
  int end;
};

void AppendContent(const TContentLayout& content, Range range, std::u16string& out);

void AppendLine(std::u16string_view line, std::u16string& out) {
  if (line.empty()) return;
  if (!out.empty()) out += u'\n';
  out += line;
}

void AppendSection(const TSectionLayout& section, Range range, std::u16string& out) {
  const int from = std::clamp(range.start - section.TextBase(), 0, section.TextLength());
  const int to = std::clamp(range.end - section.TextBase(), 0, section.TextLength());
  if (to <= from) return;
  AppendLine(std::u16string_view(section.Section().Text()).substr(static_cast<std::size_t>(from),
                                                                   static_cast<std::size_t>(to - from)),
             out);
}

void AppendTable(const TTableLayout& table, Range range, std::u16string& out) {
  std::u16string row;
  int rowIndex = -1;
  for (const TTableLayout::Cell& cell : table.Cells()) {
    if (cell.row != rowIndex) {
      AppendLine(row, out);
      row.clear();
      rowIndex = cell.row;
    }
    std::u16string text;
    AppendContent(cell.content, range, text);
    if (text.empty()) continue;
    if (!row.empty()) row += u'\t';
    row += text;
  }
  AppendLine(row, out);
}

void AppendContent(const TContentLayout& content, Range range, std::u16string& out) {
  for (const TContentLayout::Item& item : content.Items()) {
    if (item.section != nullptr) AppendSection(*item.section, range, out);
    if (item.caption != nullptr) AppendContent(*item.caption, range, out);
    if (item.table != nullptr) AppendTable(*item.table, range, out);
  }
}

}  // namespace

std::u16string SelectedText(const TContentLayout& content, int selStart, int selEnd) {
  std::u16string out;
  if (selStart < 0 || selEnd <= selStart) return out;
  AppendContent(content, {selStart, selEnd}, out);
  return out;
}

}  // namespace talmeko::htmlview
