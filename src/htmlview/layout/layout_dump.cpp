#include "htmlview/layout/layout_dump.h"

#include "htmlview/base/text_util.h"
#include "htmlview/layout/table_layout.h"

namespace talmeko::htmlview {
namespace {

std::string Pad(int indent) { return std::string(static_cast<std::size_t>(indent) * 2, ' '); }

std::string Pt(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::string Joined(const std::vector<int>& values) {
  std::string out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += '/';
    out += std::to_string(values[i]);
  }
  return out;
}

void DumpSection(const TSectionLayout& s, int indent, std::string& out) {
  out += Pad(indent) + "text " + Pt(s.X(), s.Y()) + " h=" + std::to_string(s.Height()) +
         " min=" + std::to_string(s.MinWidth()) + " max=" + std::to_string(s.MaxWidth()) + "\n";
  for (const TSectionLayout::Line& line : s.Lines()) {
    std::string text;
    for (char16_t c : s.LineText(line)) AppendUtf8(text, c);
    out += Pad(indent + 1) + "line " + Pt(s.X() + line.x, s.Y() + line.y) + " " + std::to_string(line.width) + "x" +
           std::to_string(line.height) + " '" + text + "'\n";
  }
}

void DumpTable(const TTableLayout& t, int indent, std::string& out) {
  std::vector<int> widths;
  for (const TTableLayout::Column& c : t.Columns()) widths.push_back(c.width);
  out += Pad(indent) + "table " + Pt(t.Left(), t.Top()) + " " + std::to_string(t.Width()) + "x" +
         std::to_string(t.Height()) + " min=" + std::to_string(t.MinWidth()) + " max=" +
         std::to_string(t.MaxWidth()) + " cols=" + Joined(widths) + " rows=" + Joined(t.RowHeights()) + "\n";
  for (const TTableLayout::Cell& c : t.Cells()) {
    const platform::Rect& b = c.box;
    out += Pad(indent + 1) + "cell r" + std::to_string(c.row) + " c" + std::to_string(c.col) + " box=" +
           Pt(b.left, b.top) + "," + Pt(b.right, b.bottom) + " at=" + Pt(c.contentOrigin.x, c.contentOrigin.y) +
           " h=" + std::to_string(c.contentHeight) + "\n";
    out += DumpLayout(c.content, indent + 2);
  }
}

}  // namespace

std::string DumpLayout(const TContentLayout& content, int indent) {
  std::string out;
  for (const TContentLayout::Item& item : content.Items()) {
    if (item.section) {
      DumpSection(*item.section, indent, out);
      continue;
    }
    if (item.caption && !item.captionBelow) out += DumpLayout(*item.caption, indent);
    DumpTable(*item.table, indent, out);
    if (item.caption && item.captionBelow) out += DumpLayout(*item.caption, indent);
  }
  return out;
}

std::string DumpLayout(const THtmlDocumentView& view) {
  const TContentLayout& content = view.Content();
  return "content " + Pt(content.X(), content.Y()) + " h=" + std::to_string(content.Height()) + "\n" +
         DumpLayout(content, 1);
}

}  // namespace talmeko::htmlview
