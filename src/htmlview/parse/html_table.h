#pragma once
// Tables as the parser builds them: rows of cells, each cell with its spans,
// the widths and heights asked for, paddings, borders, background and
// vertical alignment, and its own content list. Layout reads these and keeps
// its results elsewhere.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#include "htmlview/base/inline_vector.h"
#include "htmlview/parse/attributes.h"
#include "htmlview/parse/section_base.h"
#include "htmlview/style/box_values.h"
#include "htmlview/style/properties.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

// Column width types, weakest first.
enum class TWidthType : std::uint8_t { wtNone, wtRelative, wtPercent, wtAbsolute };

// Absolute pixels, per mille (capped at 1000) or a relative multiplier.
struct TSpecWidth {
  int Value = 0;
  TWidthType Type = TWidthType::wtNone;
  friend bool operator==(const TSpecWidth&, const TSpecWidth&) = default;
};

enum class TVAlign : std::uint8_t { vaTop, vaMiddle, vaBottom };

class TCellObjCell : public TCellBasic {};

class THtmlTable;
class TSizeMemo;

// What layout needs to know of a cell besides its content.
// Every cell of a page carries one: the small fields share the last word.
struct TCellData {
  int ColSpan = 1;
  int RowSpan = 1;
  TSpecWidth SpecWd;
  TSpecWidth SpecHt;
  std::array<int, 4> Padding{};  // TSide order
  std::array<int, 4> BorderWidth{};
  std::array<int, 4> BorderStyle{};
  std::array<platform::Color, 4> BorderColor{};
  platform::Color BgColor = platform::kNoColor;
  int HzSpace = 0;  // left padding + left border + right border + right padding
  int VrSpace = 0;
  TVAlign VAlign = TVAlign::vaMiddle;
  bool NoWrap = false;
  bool IsHeader = false;
  bool ShowEmptyCells = false;
};

class TCellObj : public TCellData {
 public:
  // Builds a cell from its property set and attributes in the table it
  // belongs to, starting from the row's vertical alignment.
  // Sizes written as text are converted through the memo when one is given.
  TCellObj(const THtmlTable& table, const TProperties& props, const TAttributeList& attrs, TVAlign rowAlign,
           bool isHeader, int pixelsPerInch, TSizeMemo* sizes = nullptr);
  // A cell like one built before, with empty content.
  explicit TCellObj(const TCellData& data) : TCellData(data) {}

  TCellObjCell Cell;

 private:
  void SetBorders(const THtmlTable& table, const TBoxValues& box);
};

// One row: its cells in order and its vertical alignment.
class TCellList {
 public:
  // Written out, so that a new row is not first cleared as a whole: the
  // cells held in place are made later, one by one.
  TCellList() noexcept {}

  // Most rows are a swatch and a number.
  TInlineVector<TCellObj, 2> Cells;
  platform::Color BgColor = platform::kNoColor;
  TVAlign VAlign = TVAlign::vaMiddle;
};

// What a table's attributes and property set give it, before any row.
struct THtmlTableSettings {
  int CellPadding = 1;
  int CellSpacing = 2;
  int BorderWidth = 0;         // from the BORDER attribute
  bool HasBorderAttribute = false;
  bool HasCssBorderStyle = false;
  platform::Color BorderColor = platform::kNoColor;
  platform::Color BorderColorLight = platform::kSystemColorBase + platform::kColorBtnHighlight;
  platform::Color BorderColorDark = platform::kSystemColorBase + platform::kColorBtnShadow;
  platform::Color BgColor = platform::kNoColor;
  TSpecWidth SpecWidth;  // wtNone when the table gives none
  TSpecWidth SpecHeight;
  TBoxValues Box;  // the table element's own margins, borders and paddings
};

class THtmlTable : public THtmlTableSettings {
 public:
  THtmlTable(const TAttributeList& attrs, const TProperties& props, int pixelsPerInch);
  // A table with the settings of one made before, and no rows yet.
  explicit THtmlTable(const THtmlTableSettings& settings) : THtmlTableSettings(settings) {}

  // Most tables of a page are a single row.
  TInlineVector<TCellList, 1> Rows;

  // The number of columns: the widest row, spans counted.
  int ColumnCount() const;
  // Whether destroying the table would free nothing: rows and cells held in
  // place, and cell lists without arrays or items of their own.
  bool FreesNothing() const {
    static_assert(std::is_trivially_destructible_v<THtmlTableSettings>);
    static_assert(std::is_trivially_destructible_v<TCellData>);
    if (Rows.OnHeap()) return false;
    for (const TCellList& row : Rows) {
      if (row.Cells.OnHeap()) return false;
      for (const TCellObj& cell : row.Cells) {
        if (!cell.Cell.FreesNothing()) return false;
      }
    }
    return true;
  }
};

// The width or height a WIDTH or HEIGHT attribute asks for: "%" percent,
// "*" relative, otherwise absolute pixels.
TSpecWidth SpecFromAttribute(const TAttribute& attr);
// The same for a CSS width or height; wtNone for "auto" and for no length.
TSpecWidth SpecFromProperty(const TPropValue& value, int pixelsPerInch, double fontPoints);

// SpecFromProperty for the last few short texts it was asked about: the
// styled cells of a page mostly ask for one of a few widths, each written
// anew in every style attribute. A text is answered from memory only for
// the same characters, font size and resolution it was converted for.
class TSizeMemo {
 public:
  TSpecWidth Read(const TPropValue& value, int pixelsPerInch, double fontPoints) {
    if (!value.IsText()) return SpecFromProperty(value, pixelsPerInch, fontPoints);
    const std::string_view text = value.Text();
    // An empty text may have no characters to point at, so it is not kept.
    if (text.empty() || text.size() > kMaxText) return SpecFromProperty(value, pixelsPerInch, fontPoints);
    for (const TEntry& e : entries_) {
      if (e.length == text.size() && e.ppi == pixelsPerInch && e.points == fontPoints &&
          std::memcmp(e.text, text.data(), text.size()) == 0) {
        return e.size;
      }
    }
    return Remember(value, pixelsPerInch, fontPoints);
  }

 private:
  TSpecWidth Remember(const TPropValue& value, int pixelsPerInch, double fontPoints);

  static constexpr std::size_t kMaxText = 15;
  static constexpr std::size_t kEntries = 4;
  struct TEntry {
    char text[kMaxText]{};
    std::uint8_t length = kMaxText + 1;  // no text has this length: unused
    int ppi = 0;
    double points = 0;
    TSpecWidth size;
  };
  std::array<TEntry, kEntries> entries_{};
  std::size_t next_ = 0;  // the entry to replace next, oldest first
};

}  // namespace talmeko::htmlview
