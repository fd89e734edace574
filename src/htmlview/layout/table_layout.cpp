#include "htmlview/layout/table_layout.h"

#include <algorithm>

#include "htmlview/style/properties.h"

namespace talmeko::htmlview {
namespace {

int Clamped(long long v) { return ClampExtent(v); }

int SpecPixels(const TSpecWidth& asked) { return std::clamp(asked.Value, 0, kMaxLayoutExtent); }

TWidthType Stronger(TWidthType old, TWidthType cell) {
  switch (cell) {
    case TWidthType::wtAbsolute: return cell;
    case TWidthType::wtPercent: return old == TWidthType::wtAbsolute ? old : cell;
    case TWidthType::wtRelative: return old == TWidthType::wtNone ? cell : old;
    case TWidthType::wtNone: return old;
  }
  return old;
}

long long RoundedShare(long long amount, long long running, long long total) {
  const long long limit = 3037000499LL;  // products below limit² fit
  if (amount >= 0 && amount < limit && running < limit) return (2 * amount * running + total) / (2 * total);
  const long double exact = static_cast<long double>(amount) * running / total;
  return static_cast<long long>(exact < 0 ? exact - 0.5L : exact + 0.5L);
}

platform::Rect Shifted(const platform::Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

void DistributeByWeight(long long amount, std::span<const long long> weights, std::span<long long> shares) {
  std::fill(shares.begin(), shares.end(), 0);
  long long total = 0;
  for (long long w : weights) total += std::max(0LL, w);
  if (total <= 0) return;
  long long running = 0;
  long long handed = 0;
  for (std::size_t i = weights.size(); i-- > 0;) {
    running += std::max(0LL, weights[i]);
    const long long due = RoundedShare(amount, running, total);
    shares[i] = due - handed;
    handed = due;
  }
}

void TTableLayout::Build(int& textBase, TLayoutStore& store, int depth) {
  cells_.clear();
  rowFirstCell_.clear();
  PlaceCells(textBase, store, depth);
}

void TTableLayout::PlaceCells(int& textBase, TLayoutStore& store, int depth) {
  const int rows = static_cast<int>(std::min<std::size_t>(table_->Rows.size(), kMaxLayoutExtent));
  TSmallVector<int, 8> busyUntil;  // per column: the first row not covered by a cell from above
  int columns = 0;
  std::size_t cellCount = 0;
  for (int r = 0; r < rows; ++r) cellCount += table_->Rows[static_cast<std::size_t>(r)].Cells.size();
  cells_.reserve(cellCount);
  rowFirstCell_.reserve(static_cast<std::size_t>(rows) + 1);
  for (int r = 0; r < rows; ++r) {
    rowFirstCell_.push_back(cells_.size());
    int col = 0;
    for (const TCellObj& obj : table_->Rows[static_cast<std::size_t>(r)].Cells) {
      while (col < static_cast<int>(busyUntil.size()) && busyUntil[static_cast<std::size_t>(col)] > r) ++col;
      if (col >= kMaxTableColumns) break;
      // Made in place: space for every cell was reserved above, and a cell
      // is too big to build aside and move in.
      Cell& c = cells_.emplace_back();
      c.cell = &obj;
      c.row = r;
      c.col = col;
      c.colSpan = std::clamp(obj.ColSpan, 1, kMaxTableColumns - col);
      c.rowSpan = std::clamp(obj.RowSpan, 1, rows - r);
      const int spanEnd = col + c.colSpan;
      if (static_cast<int>(busyUntil.size()) < spanEnd) busyUntil.resize(static_cast<std::size_t>(spanEnd), 0);
      for (int k = col; k < spanEnd; ++k) busyUntil[static_cast<std::size_t>(k)] = r + c.rowSpan;
      c.content.Build(obj.Cell, textBase, store, depth + 1);
      col = spanEnd;
      columns = std::max(columns, col);
    }
  }
  rowFirstCell_.push_back(cells_.size());
  columns_.assign(static_cast<std::size_t>(columns), Column{});
}

void TTableLayout::Measure(TLayoutFonts& fonts) {
  for (Cell& c : cells_) c.content.Measure(fonts);
  ColumnLimits();
}

void TTableLayout::ColumnLimits() {
  for (Column& col : columns_) col = Column{};
  TSmallVector<std::size_t, 8> spanned;
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    if (cells_[i].colSpan == 1) ApplyCellLimits(cells_[i]);
    else spanned.push_back(i);
  }
  // Wider cells come after all narrower ones, so they only add what their
  // columns still lack.
  if (spanned.empty()) return;  // most tables: nothing spans columns
  std::stable_sort(spanned.begin(), spanned.end(),
                   [this](std::size_t a, std::size_t b) { return cells_[a].colSpan < cells_[b].colSpan; });
  for (std::size_t i : spanned) ApplyCellLimits(cells_[i]);
}

void TTableLayout::ApplyCellLimits(const Cell& c) {
  long long mn = c.content.MinWidth();
  long long mx = std::max(mn, static_cast<long long>(c.content.MaxWidth()));
  const TCellObj& obj = *c.cell;
  if (obj.SpecWd.Type == TWidthType::wtAbsolute) {
    mn = std::max<long long>(mn, SpecPixels(obj.SpecWd));
    mx = std::max<long long>(mx, SpecPixels(obj.SpecWd));
  }
  const long long extra = static_cast<long long>(table_->CellSpacing) + obj.HzSpace;
  const int cellMin = std::max(0, Clamped(mn + extra));
  const int cellMax = std::max(cellMin, Clamped(mx + extra));
  if (c.colSpan > 1) {
    SpreadSpannedLimits(c, cellMin, cellMax);
    return;
  }
  Column& col = columns_[static_cast<std::size_t>(c.col)];
  col.min = std::max(col.min, cellMin);
  col.max = std::max(col.max, cellMax);
  col.type = Stronger(col.type, obj.SpecWd.Type);
}

void TTableLayout::SpreadSpannedLimits(const Cell& c, int cellMin, int cellMax) {
  const auto first = static_cast<std::size_t>(c.col);
  const auto count = static_cast<std::size_t>(c.colSpan);
  TSmallVector<long long, 8> weights;
  weights.resize(count);
  TSmallVector<long long, 8> shares;
  auto spread = [&](int need, int Column::*field) {
    long long have = 0;
    bool anyMax = false;
    for (std::size_t k = 0; k < count; ++k) {
      have += columns_[first + k].*field;
      weights[k] = columns_[first + k].max;
      anyMax = anyMax || weights[k] > 0;
    }
    if (need <= have) return;
    if (!anyMax) std::fill(weights.begin(), weights.end(), 1);
    DistributeByWeight(need - have, weights, shares);
    for (std::size_t k = 0; k < count; ++k) {
      Column& col = columns_[first + k];
      col.*field = Clamped(col.*field + shares[k]);
      col.max = std::max(col.max, col.min);
    }
  };
  spread(cellMin, &Column::min);
  spread(cellMax, &Column::max);
}

int TTableLayout::FrameBorder(int side) const {
  const TBoxValues& box = table_->Box;
  if (box.borderStyleSet[static_cast<std::size_t>(side)]) {
    return box.borderStyle[static_cast<std::size_t>(side)] == bssNone ? 0 : std::max(0, box.borderWidth[static_cast<std::size_t>(side)]);
  }
  return table_->HasCssBorderStyle ? 0 : std::max(0, table_->BorderWidth);
}

TTableLayout::TTableLayout(const THtmlTable& table) : table_(&table) {
  const TBoxValues& box = table_->Box;
  for (std::size_t s = 0; s < 4; ++s) {
    frame_[s] = Clamped(static_cast<long long>(std::max(0, box.margin[s])) + FrameBorder(static_cast<int>(s)) +
                        std::max(0, box.padding[s]));
  }
}

int TTableLayout::MinWidth() const {
  long long sum = table_->CellSpacing;
  for (const Column& c : columns_) sum += c.min;
  if (table_->SpecWidth.Type == TWidthType::wtAbsolute) sum = std::max<long long>(sum, SpecPixels(table_->SpecWidth));
  return Clamped(sum + Frame(sLeft) + Frame(sRight));
}

int TTableLayout::MaxWidth() const {
  long long sumMin = table_->CellSpacing;
  long long sum = table_->CellSpacing;
  for (const Column& c : columns_) {
    sumMin += c.min;
    sum += c.max;
  }
  if (table_->SpecWidth.Type == TWidthType::wtAbsolute) {
    sumMin = std::max<long long>(sumMin, SpecPixels(table_->SpecWidth));
    sum = std::max<long long>(sum, SpecPixels(table_->SpecWidth));
  }
  const long long frame = static_cast<long long>(Frame(sLeft)) + Frame(sRight);
  return std::max(Clamped(sumMin + frame), Clamped(sum + frame));
}

int TTableLayout::OuterWidth() const {
  return Clamped(static_cast<long long>(width_) + Frame(sLeft) + Frame(sRight));
}

int TTableLayout::OuterHeight() const {
  return Clamped(static_cast<long long>(height_) + Frame(sTop) + Frame(sBottom));
}

int TTableLayout::Arrange(int availableWidth) {
  const long long inner = static_cast<long long>(availableWidth) - Frame(sLeft) - Frame(sRight);
  ChooseWidths(Clamped(std::max(0LL, inner)));
  ArrangeRows();
  return OuterHeight();
}

void TTableLayout::ChooseWidths(int availableWidth) {
  const int spacing = table_->CellSpacing;
  long long sumMin = 0;
  long long sumMax = 0;
  for (const Column& c : columns_) {
    sumMin += c.min;
    sumMax += c.max;
  }
  const TSpecWidth& asked = table_->SpecWidth;
  const bool specified = asked.Type == TWidthType::wtAbsolute || asked.Type == TWidthType::wtPercent;
  long long target = availableWidth;
  if (asked.Type == TWidthType::wtAbsolute) target = SpecPixels(asked);
  if (asked.Type == TWidthType::wtPercent) target = static_cast<long long>(availableWidth) * SpecPixels(asked) / 1000;
  const long long room = target - spacing;
  for (Column& c : columns_) c.width = c.min;
  if (sumMin < room) {
    if (!specified && room >= sumMax) {
      for (Column& c : columns_) c.width = c.max;
    } else {
      DistributeExtra(room - sumMin);
    }
  }
  long long sum = spacing;
  for (const Column& c : columns_) sum += c.width;
  width_ = Clamped(sum);
}

TSmallVector<std::size_t, 8> TTableLayout::ColumnsToWiden() const {
  bool has[4] = {false, false, false, false};
  for (const Column& c : columns_) has[static_cast<int>(c.type)] = true;
  TWidthType chosen = TWidthType::wtAbsolute;
  if (has[static_cast<int>(TWidthType::wtNone)]) chosen = TWidthType::wtNone;
  else if (has[static_cast<int>(TWidthType::wtRelative)]) chosen = TWidthType::wtRelative;
  else if (has[static_cast<int>(TWidthType::wtPercent)]) chosen = TWidthType::wtPercent;
  TSmallVector<std::size_t, 8> out;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].type == chosen) out.push_back(i);
  }
  return out;
}

void TTableLayout::DistributeExtra(long long extra) {
  const TSmallVector<std::size_t, 8> chosen = ColumnsToWiden();
  if (chosen.empty()) return;
  TSmallVector<long long, 8> weights;
  weights.resize(chosen.size());
  long long total = 0;
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    weights[k] = static_cast<long long>(columns_[chosen[k]].max) - columns_[chosen[k]].min;
    total += weights[k];
  }
  // Columns that cannot grow by their content share the room by their widths.
  if (total <= 0) {
    for (std::size_t k = 0; k < chosen.size(); ++k) {
      weights[k] = columns_[chosen[k]].width;
      total += weights[k];
    }
  }
  if (total <= 0) std::fill(weights.begin(), weights.end(), 1);
  TSmallVector<long long, 8> shares;
  DistributeByWeight(extra, weights, shares);
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    Column& c = columns_[chosen[k]];
    c.width = Clamped(c.width + shares[k]);
  }
}

void TTableLayout::ArrangeRows() {
  const int spacing = table_->CellSpacing;
  // Both lists are tiny: filled one by one rather than cleared first.
  const std::size_t rows = rowFirstCell_.empty() ? 0 : rowFirstCell_.size() - 1;
  rowHeights_.clear();
  rowHeights_.reserve(rows);
  for (std::size_t r = 0; r < rows; ++r) rowHeights_.push_back(0);
  colLeft_.clear();
  colLeft_.reserve(columns_.size() + 1);
  colLeft_.push_back(0);
  for (std::size_t i = 0; i < columns_.size(); ++i) colLeft_.push_back(Clamped(static_cast<long long>(colLeft_[i]) + columns_[i].width));
  // The lists do not change size below: their elements are reached directly.
  const int* lefts = colLeft_.data();
  int* heights = rowHeights_.data();
  bool anyRowSpan = false;
  for (Cell& c : cells_) {
    const long long cellWidth = static_cast<long long>(lefts[static_cast<std::size_t>(c.col + c.colSpan)]) -
                                lefts[static_cast<std::size_t>(c.col)];
    const int contentWidth = Clamped(std::max(0LL, cellWidth - c.cell->HzSpace - spacing));
    c.contentHeight = c.content.Arrange(contentWidth);
    const int asked = c.cell->SpecHt.Type == TWidthType::wtAbsolute
                          ? std::max(0, SpecPixels(c.cell->SpecHt) - c.cell->VrSpace)
                          : 0;
    c.needHeight = Clamped(static_cast<long long>(std::max(c.contentHeight, asked)) + c.cell->VrSpace);
    int& row = heights[static_cast<std::size_t>(c.row)];
    if (c.rowSpan == 1) row = std::max(row, c.needHeight);
    else anyRowSpan = true;
  }
  for (int& h : rowHeights_) h = std::max(0, Clamped(static_cast<long long>(h) + spacing));
  // Cells spanning rows are rare: the second walk is made only when there are some.
  if (anyRowSpan) {
    for (const Cell& c : cells_) {
      if (c.rowSpan == 1) continue;
      long long have = 0;
      for (int r = c.row; r < c.row + c.rowSpan; ++r) have += rowHeights_[static_cast<std::size_t>(r)];
      const long long need = static_cast<long long>(c.needHeight) + spacing;
      int& last = rowHeights_[static_cast<std::size_t>(c.row + c.rowSpan - 1)];
      if (need > have) last = Clamped(last + (need - have));
    }
  }
  long long sum = spacing;
  for (int h : rowHeights_) sum += h;
  if (table_->SpecHeight.Type == TWidthType::wtAbsolute && !rowHeights_.empty() && sum < SpecPixels(table_->SpecHeight)) {
    rowHeights_.back() = Clamped(rowHeights_.back() + (SpecPixels(table_->SpecHeight) - sum));
    sum = SpecPixels(table_->SpecHeight);
  }
  height_ = Clamped(sum);
}

void TTableLayout::SetOrigin(int x, int y) {
  // Column edges are kept as offsets from the table's left edge.
  left_ = Clamped(static_cast<long long>(x) + Frame(sLeft));
  top_ = Clamped(static_cast<long long>(y) + Frame(sTop));
  rowTops_.clear();
  rowTops_.reserve(rowHeights_.size() + 1);
  rowTops_.push_back(top_);
  for (std::size_t r = 0; r < rowHeights_.size(); ++r) rowTops_.push_back(Clamped(static_cast<long long>(rowTops_[r]) + rowHeights_[r]));
  const int* tops = rowTops_.data();
  for (Cell& c : cells_) PlaceCell(c, tops);
  rowReach_.clear();
  rowReach_.reserve(rowHeights_.size());
  const Cell* cells = cells_.data();
  const std::size_t* firsts = rowFirstCell_.data();
  int reach = top_;
  for (std::size_t r = 0; r < rowHeights_.size(); ++r) {
    reach = std::max(reach, tops[r + 1]);
    for (std::size_t i = firsts[r]; i < firsts[r + 1]; ++i) reach = std::max(reach, cells[i].box.bottom);
    rowReach_.push_back(reach);
  }
}

void TTableLayout::PlaceCell(Cell& c, const int* rowTops) {
  const int spacing = table_->CellSpacing;
  const int* lefts = colLeft_.data();
  const int x = left_ + lefts[static_cast<std::size_t>(c.col)];
  const int right = left_ + lefts[static_cast<std::size_t>(c.col + c.colSpan)];
  const int y = rowTops[static_cast<std::size_t>(c.row)];
  const int bottom = rowTops[static_cast<std::size_t>(c.row + c.rowSpan)];
  c.box = {x + spacing, y + spacing, right, bottom};
  const TCellObj& obj = *c.cell;
  const int spare = bottom - y - c.contentHeight - spacing - obj.VrSpace;
  int offset = 0;
  if (obj.VAlign == TVAlign::vaMiddle) offset = spare / 2;
  if (obj.VAlign == TVAlign::vaBottom) offset = spare;
  c.contentOrigin = {c.box.left + obj.BorderWidth[sLeft] + obj.Padding[sLeft],
                     c.box.top + obj.BorderWidth[sTop] + obj.Padding[sTop] + offset};
  c.content.SetOrigin(c.contentOrigin.x, c.contentOrigin.y);
}

void TTableLayout::Paint(TPaintState& state) const {
  const long long top = static_cast<long long>(top_) - Frame(sTop);
  const long long bottom = static_cast<long long>(top_) + height_ + Frame(sBottom);
  if (bottom <= state.docTop || top >= state.docBottom) return;
  PaintTableBox(state);
  // Rows whose cells all end above the clip are skipped by a binary search;
  // the reach of every row never decreases down the table.
  auto first = std::upper_bound(rowReach_.begin(), rowReach_.end(), state.docTop);
  for (auto r = static_cast<std::size_t>(first - rowReach_.begin()); r < rowHeights_.size(); ++r) {
    if (rowTops_[r] >= state.docBottom) break;
    if (state.page && DefersRow(r, *state.page)) continue;
    for (std::size_t i = rowFirstCell_[r]; i < rowFirstCell_[r + 1]; ++i) {
      const Cell& c = cells_[i];
      if (c.box.bottom > state.docTop && c.box.top < state.docBottom) PaintCell(c, state);
    }
  }
}

bool TTableLayout::DefersRow(std::size_t r, TPageBreak& page) const {
  // A row reaches as far down as the tallest of the cells it starts.
  long long bottom = rowTops_[r];
  for (std::size_t i = rowFirstCell_[r]; i < rowFirstCell_[r + 1]; ++i) bottom = std::max<long long>(bottom, cells_[i].box.bottom);
  const bool tall = bottom - rowTops_[r] > TPageBreak::kMaxUncutRow;
  if (!page.Defers(rowTops_[r], bottom, tall)) return false;
  page.rowEnded = true;
  return true;
}

void TTableLayout::PaintTableBox(TPaintState& state) const {
  const TBoxValues& box = table_->Box;
  const platform::Rect inner{left_ - std::max(0, box.padding[sLeft]), top_ - std::max(0, box.padding[sTop]),
                             left_ + width_ + std::max(0, box.padding[sRight]),
                             top_ + height_ + std::max(0, box.padding[sBottom])};
  const int dx = state.xOffset;
  const int dy = -state.yTop;
  if (state.cellBackgrounds && table_->BgColor != platform::kNoColor && !inner.IsEmpty()) {
    state.canvas->FillRect(Shifted(inner, dx, dy), platform::ResolveColor(table_->BgColor, state.screen));
  }
  const int bt = FrameBorder(sTop), br = FrameBorder(sRight), bb = FrameBorder(sBottom), bl = FrameBorder(sLeft);
  if (bt + br + bb + bl == 0) return;
  const platform::Rect outer{inner.left - bl, inner.top - bt, inner.right + br, inner.bottom + bb};
  platform::Color light = platform::ResolveColor(table_->BorderColorLight, state.screen);
  platform::Color dark = platform::ResolveColor(table_->BorderColorDark, state.screen);
  if (table_->BorderColor != platform::kNoColor) light = dark = platform::ResolveColor(table_->BorderColor, state.screen);
  // The table's own frame stands out: light above and left, dark below and right.
  state.canvas->FillRect(Shifted({outer.left, outer.top, outer.right, outer.top + bt}, dx, dy), light);
  state.canvas->FillRect(Shifted({outer.left, outer.top + bt, outer.left + bl, outer.bottom - bb}, dx, dy), light);
  state.canvas->FillRect(Shifted({outer.left, outer.bottom - bb, outer.right, outer.bottom}, dx, dy), dark);
  state.canvas->FillRect(Shifted({outer.right - br, outer.top + bt, outer.right, outer.bottom - bb}, dx, dy), dark);
}

void TTableLayout::PaintCell(const Cell& c, TPaintState& state) const {
  const TCellObj& obj = *c.cell;
  const int dx = state.xOffset;
  const int dy = -state.yTop;
  platform::Color bg = obj.BgColor;
  if (bg == platform::kNoColor) bg = table_->Rows[static_cast<std::size_t>(c.row)].BgColor;
  const platform::Rect padding{c.box.left + obj.BorderWidth[sLeft], c.box.top + obj.BorderWidth[sTop],
                               c.box.right - obj.BorderWidth[sRight], c.box.bottom - obj.BorderWidth[sBottom]};
  if (state.cellBackgrounds && bg != platform::kNoColor && !padding.IsEmpty()) {
    state.canvas->FillRect(Shifted(padding, dx, dy), platform::ResolveColor(bg, state.screen));
  }
  const bool blank = c.content.IsBlank();
  if (!blank && ContentFits(c)) {
    // Saving the canvas and clipping for every cell would cost more than
    // most cells' own drawing, above all on paper, where each clip is written
    // into the page.
    c.content.Paint(state);
  } else if (!blank) {
    platform::CanvasStateGuard guard(*state.canvas);
    state.canvas->IntersectClip(Shifted(c.box, dx, dy));
    c.content.Paint(state);
    // Restoring the canvas also restored its font.
    state.selectedFont = nullptr;
  }
  if (!blank || obj.ShowEmptyCells) PaintCellBorders(c, state);
}

bool TTableLayout::ContentFits(const Cell& c) const {
  const long long left = c.content.X();
  const long long top = c.content.Y();
  return left >= c.box.left && top >= c.box.top && left + c.content.Extent() <= c.box.right &&
         top + c.content.Height() <= c.box.bottom;
}

void TTableLayout::PaintCellBorders(const Cell& c, TPaintState& state) const {
  const TCellObj& obj = *c.cell;
  const platform::Rect& b = c.box;
  const int wt = obj.BorderWidth[sTop], wr = obj.BorderWidth[sRight], wb = obj.BorderWidth[sBottom], wl = obj.BorderWidth[sLeft];
  const platform::Rect strips[4] = {{b.left, b.top, b.right, b.top + wt},
                                    {b.right - wr, b.top + wt, b.right, b.bottom - wb},
                                    {b.left, b.bottom - wb, b.right, b.bottom},
                                    {b.left, b.top + wt, b.left + wl, b.bottom - wb}};
  const platform::Color light = platform::ResolveColor(table_->BorderColorLight, state.screen);
  const platform::Color dark = platform::ResolveColor(table_->BorderColorDark, state.screen);
  for (int s = 0; s < 4; ++s) {
    const int style = obj.BorderStyle[static_cast<std::size_t>(s)];
    if (obj.BorderWidth[static_cast<std::size_t>(s)] <= 0 || style == bssNone || strips[s].IsEmpty()) continue;
    const bool upperLeft = s == sTop || s == sLeft;
    platform::Color color = platform::ResolveColor(obj.BorderColor[static_cast<std::size_t>(s)], state.screen);
    // Sunken borders are dark above and left, raised ones the other way round.
    if (style == bssInset || style == bssGroove) color = upperLeft ? dark : light;
    if (style == bssOutset || style == bssRidge) color = upperLeft ? light : dark;
    state.canvas->FillRect(Shifted(strips[s], state.xOffset, -state.yTop), color);
  }
}

}  // namespace talmeko::htmlview
