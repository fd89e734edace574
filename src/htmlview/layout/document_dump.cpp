#include "htmlview/layout/document_dump.h"

#include <cstdio>

#include "htmlview/base/text_util.h"
#include "htmlview/parse/section.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {
namespace {

std::string ColorText(platform::Color c) {
  if (c == platform::kNoColor) return "none";
  char buf[16];
  if (platform::IsSystemColor(c)) {
    std::snprintf(buf, sizeof buf, "sys%u", static_cast<unsigned>(c & 0xFF));
  } else {
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", static_cast<unsigned>(c & 0xFF),
                  static_cast<unsigned>((c >> 8) & 0xFF), static_cast<unsigned>((c >> 16) & 0xFF));
  }
  return buf;
}

std::string SidesText(const std::array<int, 4>& v) {
  return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "," +
         std::to_string(v[3]);
}

std::string SpecText(const TSpecWidth& w) {
  switch (w.Type) {
    case TWidthType::wtNone: return "none";
    case TWidthType::wtAbsolute: return std::to_string(w.Value) + "px";
    case TWidthType::wtPercent: return std::to_string(w.Value / 10) + "%";
    case TWidthType::wtRelative: return std::to_string(w.Value) + "*";
  }
  return "none";
}

const char* AlignText(TTextAlign a) {
  switch (a) {
    case TTextAlign::Left: return "left";
    case TTextAlign::Center: return "center";
    case TTextAlign::Right: return "right";
    case TTextAlign::Justify: return "justify";
  }
  return "left";
}

const char* VAlignText(TVAlign a) {
  switch (a) {
    case TVAlign::vaTop: return "top";
    case TVAlign::vaMiddle: return "middle";
    case TVAlign::vaBottom: return "bottom";
  }
  return "middle";
}

std::string FontText(const TFontInfo& f) {
  char size[32];
  std::snprintf(size, sizeof size, "%g", f.sizePoints);
  std::string out = f.family + " " + size + "pt " + (f.bold ? "bold" : "normal");
  if (f.italic) out += " italic";
  if (f.underline) out += " underline";
  return out + " " + ColorText(f.color);
}

class Dumper {
 public:
  std::string Take() { return std::move(out_); }

  void List(const TCellBasic& list, int depth) {
    for (const auto& item : list) Item(*item, depth);
  }

 private:
  void Line(int depth, const std::string& text) {
    out_.append(static_cast<std::size_t>(depth) * 2, ' ');
    out_ += text;
    out_ += '\n';
  }

  void Item(const TSectionBase& item, int depth) {
    switch (item.Kind()) {
      case TSectionKind::Section: Section(static_cast<const TSection&>(item), depth); break;
      case TSectionKind::BodyBlock: Body(static_cast<const TBodyBlock&>(item), depth); break;
      case TSectionKind::TableBlock: Table(static_cast<const TTableBlock&>(item), depth); break;
      case TSectionKind::TableAndCaptionBlock: {
        const auto& both = static_cast<const TTableAndCaptionBlock&>(item);
        Line(depth, "caption");
        List(both.Caption, depth + 1);
        if (both.TableBlock) Table(*both.TableBlock, depth);
        break;
      }
    }
  }

  void Body(const TBodyBlock& body, int depth) {
    Line(depth, "body margin " + SidesText(body.Box.margin) + " bg " + ColorText(body.BgColor));
    List(body.Content, depth + 1);
  }

  void Table(const TTableBlock& block, int depth) {
    const THtmlTable& t = block.Table;
    Line(depth, "table padding " + std::to_string(t.CellPadding) + " spacing " + std::to_string(t.CellSpacing) +
                    " border " + std::to_string(t.BorderWidth) + " width " + SpecText(t.SpecWidth) + " justify " +
                    AlignText(block.Justify));
    for (const TCellList& row : t.Rows) {
      Line(depth + 1, std::string("row valign ") + VAlignText(row.VAlign) + " bg " + ColorText(row.BgColor));
      for (const TCellObj& cell : row.Cells) Cell(cell, depth + 2);
    }
  }

  void Cell(const TCellObj& c, int depth) {
    Line(depth, "cell span " + std::to_string(c.ColSpan) + "x" + std::to_string(c.RowSpan) + " width " +
                    SpecText(c.SpecWd) + " valign " + VAlignText(c.VAlign) + " padding " + SidesText(c.Padding) +
                    " border " + SidesText(c.BorderWidth) + " bg " + ColorText(c.BgColor));
    List(c.Cell, depth + 1);
  }

  void Section(const TSection& s, int depth) {
    std::string line = std::string("text ") + AlignText(s.Align()) + " '" + platform::Utf16ToUtf8(s.Text()) + "'";
    for (const TFontRun& run : s.Runs()) line += " | " + FontText(*run.font);
    Line(depth, line);
  }

  std::string out_;
};

}  // namespace

std::string DumpDocument(const ThtDocument& document) {
  Dumper dumper;
  dumper.List(document.Content, 0);
  return dumper.Take();
}

}  // namespace talmeko::htmlview
