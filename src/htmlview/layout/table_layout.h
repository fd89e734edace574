#pragma once
// Layout of one table: cells placed on the column grid, column minimum and
// maximum widths, the widths chosen for the space available, row heights and
// the geometry of every cell. All results live here, not in the table.

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "htmlview/base/inline_vector.h"
#include "htmlview/base/small_vector.h"
#include "htmlview/layout/content_layout.h"
#include "htmlview/layout/text_layout.h"
#include "htmlview/parse/html_table.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

// The most columns a table is laid out with; cells beyond are dropped.
inline constexpr int kMaxTableColumns = 10000;

// Shares `amount` among entries in proportion to their weights, so that the
// shares add up exactly: entries are visited from last to first and each gets
// the rounded share of the running weight less what was handed out before.
// Entries with a weight of 0 get nothing; with no weight at all, nothing moves.
void DistributeByWeight(long long amount, std::span<const long long> weights, std::span<long long> shares);
template <class Shares>
void DistributeByWeight(long long amount, std::span<const long long> weights, Shares& shares) {
  shares.assign(weights.size(), 0);
  DistributeByWeight(amount, weights, std::span<long long>(shares.data(), shares.size()));
}

class TTableLayout {
 public:
  struct Column {
    int min = 0;
    int max = 0;
    TWidthType type = TWidthType::wtNone;
    int width = 0;
  };

  struct Cell {
    const TCellObj* cell = nullptr;
    int row = 0;
    int col = 0;
    int colSpan = 1;
    int rowSpan = 1;
    TContentLayout content;
    int contentHeight = 0;  // as laid out
    int needHeight = 0;     // content height or the height asked for, plus VrSpace
    platform::Rect box;     // the cell box, document coordinates
    platform::Point contentOrigin;
  };

  explicit TTableLayout(const THtmlTable& table);

  void Build(int& textBase, TLayoutStore& store, int depth);
  // Measures the cells' content and works out every column's minimum and maximum.
  void Measure(TLayoutFonts& fonts);
  // The table's narrowest and widest outer widths, its own box included.
  int MinWidth() const;
  int MaxWidth() const;
  // Chooses column widths for the available width, lays out the cells and
  // sets the row heights; returns the outer height.
  int Arrange(int availableWidth);
  void SetOrigin(int x, int y);

  int Width() const { return width_; }          // sum of column widths + CellSpacing
  int Height() const { return height_; }        // sum of row heights + CellSpacing
  int OuterWidth() const;                       // with the table's margins, borders and paddings
  int OuterHeight() const;
  const TSmallVector<Column, 4>& Columns() const { return columns_; }
  std::vector<int> RowHeights() const { return {rowHeights_.begin(), rowHeights_.end()}; }
  const TInlineVector<Cell, 2>& Cells() const { return cells_; }
  const THtmlTable& Table() const { return *table_; }
  int Left() const { return left_; }
  int Top() const { return top_; }

  void Paint(TPaintState& state) const;

 private:
  void PlaceCells(int& textBase, TLayoutStore& store, int depth);
  void ColumnLimits();
  void ApplyCellLimits(const Cell& c);
  void SpreadSpannedLimits(const Cell& c, int cellMin, int cellMax);
  void ChooseWidths(int availableWidth);
  void DistributeExtra(long long extra);
  TSmallVector<std::size_t, 8> ColumnsToWiden() const;
  void ArrangeRows();
  void PlaceCell(Cell& c, const int* rowTops);
  int FrameBorder(int side) const;
  bool DefersRow(std::size_t r, TPageBreak& page) const;
  void PaintTableBox(TPaintState& state) const;
  void PaintCell(const Cell& c, TPaintState& state) const;
  bool ContentFits(const Cell& c) const;
  void PaintCellBorders(const Cell& c, TPaintState& state) const;
  // The table's own margin, border and padding on one side.
  int Frame(int side) const { return frame_[static_cast<std::size_t>(side)]; }

  const THtmlTable* table_;
  std::array<int, 4> frame_{};  // worked out once: layout asks for it often
  // Most tables of a page are small: their lists are kept in place, so
  // laying one out costs few allocations.
  TSmallVector<Column, 4> columns_;
  TInlineVector<Cell, 2> cells_;
  TSmallVector<std::size_t, 4> rowFirstCell_;  // cells_ index of each row's first cell, plus an end
  TSmallVector<int, 2> rowHeights_;
  TSmallVector<int, 4> colLeft_;    // document coordinates, one past the last column too
  TSmallVector<int, 4> rowTops_;    // document coordinates, one past the last row too
  TSmallVector<int, 2> rowReach_;   // the lowest bottom of any cell in this row or above
  int width_ = 0;
  int height_ = 0;
  int left_ = 0;  // the table's cell area, document coordinates
  int top_ = 0;
};

}  // namespace talmeko::htmlview
