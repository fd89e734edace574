// Tree building of tables: rows and cells with or without end tags, nested
// tables, captions, header, body and footer groups, and hidden rows.

#include <algorithm>
#include <vector>

#include "htmlview/parse/html_parser.h"

namespace talmeko::htmlview {
namespace {

// Where a cell's content ends: any tag that starts or ends a part of the
// table. A nested table start is not among them, so it builds inside the cell.
const TSymbolSet kCellStop{Sy::TableEndSy,   Sy::TDSy,        Sy::TDEndSy,   Sy::TRSy,     Sy::TREndSy,
                           Sy::THSy,         Sy::THEndSy,     Sy::CaptionSy, Sy::CaptionEndSy,
                           Sy::ColSy,        Sy::ColGroupSy,  Sy::THeadSy,   Sy::THeadEndSy,
                           Sy::TBodySy,      Sy::TBodyEndSy,  Sy::TFootSy,   Sy::TFootEndSy};

TVAlign VAlignFromText(std::string_view v, TVAlign fallback) {
  if (v == "top" || v == "baseline") return TVAlign::vaTop;
  if (v == "middle") return TVAlign::vaMiddle;
  if (v == "bottom") return TVAlign::vaBottom;
  return fallback;
}

}  // namespace

struct THtmlParser::TableState {
  TCellBasic* outer = nullptr;  // the content list that receives the table
  std::size_t depthBefore = 0;  // the property stack before the table's own set
  std::size_t tableDepth = 0;   // with the table's set
  TTableBlock* block = nullptr;  // in the document's store
  std::size_t blockIndex = 0;    // its position there
  TCellBasic caption;
  // The open row, made in place as the last of the rows it goes to (the
  // table's, or the footer's); null when no row is open.
  TCellList* row = nullptr;
  std::size_t rowDepth = 0;  // the stack before the row's set
  std::size_t cellDepth = 0;  // the stack with the row's set
  bool cellOpen = false;  // the row's last cell is still receiving content
  bool inFooter = false;
  std::vector<TCellList> footerRows;
};

void THtmlParser::DoTable() {
  if (tableLevel_ >= kMaxTableNesting) {
    // Deeper tables are ignored as tables; their rows and cells belong to
    // the enclosing table.
    Next();
    return;
  }
  ++tableLevel_;
  // A table mostly follows a cell's start or another table: no paragraph
  // is open then.
  if (section_) CloseSection();
  TableState t;
  t.outer = content_;
  t.depthBefore = doc_.PropStack.Depth();
  const TTextAlign justify = CurrentAlign();
  PushForTag("table");
  t.tableDepth = doc_.PropStack.Depth();
  t.blockIndex = doc_.Nodes.Tables.Count();
  if (attrs_.Count() == 0) {
    // A table without attributes depends on its property set alone, and
    // nested tables of a page are mostly alike.
    if (!plainTable_ || plainTableSet_ != doc_.PropStack.TopId()) {
      plainTable_ = THtmlTable(attrs_, doc_.PropStack.Top(), ppi_);
      plainTableSet_ = doc_.PropStack.TopId();
    }
    t.block = &doc_.Nodes.Tables.Emplace(*plainTable_);
  } else {
    t.block = &doc_.Nodes.Tables.Emplace(THtmlTable(attrs_, doc_.PropStack.Top(), ppi_));
  }
  t.block->Justify = justify;
  try {
    Next();
    TableLoop(t);
  } catch (...) {
    // Keep what the table holds so far; the error ends the whole page.
    FinishTable(t);
    throw;
  }
  FinishTable(t);
  if (sy_ == Sy::TableEndSy) Next();
}

void THtmlParser::TableLoop(TableState& t) {
  for (;;) {
    switch (sy_) {
      case Sy::TDSy: DoTableCell(t, false); break;
      case Sy::THSy: DoTableCell(t, true); break;
      case Sy::TDEndSy:
      case Sy::THEndSy:
        CloseCell(t);
        Next();
        break;
      case Sy::TRSy: DoTableRow(t); break;
      case Sy::TREndSy:
        CloseRow(t);
        Next();
        break;
      case Sy::TableEndSy:
      case Sy::EofSy: return;
      case Sy::CaptionSy: DoCaption(t); break;
      case Sy::THeadSy:
      case Sy::TBodySy:
      case Sy::TFootSy:
      case Sy::THeadEndSy:
      case Sy::TBodyEndSy:
      case Sy::TFootEndSy: DoRowGroup(t); break;
      case Sy::ColSy:
      case Sy::ColGroupSy:
      case Sy::ColGroupEndSy:
      case Sy::CaptionEndSy:
      case Sy::CommandSy: Next(); break;
      case Sy::TextSy:
        if (token_ == u" ") {
          Next();
          break;
        }
        DoOutsideCell(t);
        break;
      default: DoOutsideCell(t); break;
    }
  }
}

void THtmlParser::OpenImpliedRow(TableState& t) {
  t.rowDepth = doc_.PropStack.Depth();
  doc_.PropStack.PushElement("tr", {}, {}, {}, nullptr);
  t.cellDepth = doc_.PropStack.Depth();
  OpenRow(t);
}

void THtmlParser::OpenRow(TableState& t) {
  t.row = t.inFooter ? &t.footerRows.emplace_back() : &t.block->Table.Rows.emplace_back();
  t.row->Cells.reserve(rowCellsHint_[tableLevel_]);
}

void THtmlParser::DoTableRow(TableState& t) {
  CloseRow(t);
  t.rowDepth = doc_.PropStack.Depth();
  PushForTag("tr");
  t.cellDepth = doc_.PropStack.Depth();
  OpenRow(t);
  t.row->VAlign = attrs_.Count() == 0 ? TVAlign::vaMiddle
                                      : VAlignFromText(AttributeLower(TAttrSymbol::VAlignSy), TVAlign::vaMiddle);
  t.row->BgColor = doc_.PropStack.Top().GetBackgroundColor();
  Next();
}

void THtmlParser::DoTableCell(TableState& t, bool header) {
  if (t.row) {
    CloseCell(t);
    doc_.PropStack.PopToDepth(t.cellDepth);
  } else {
    OpenImpliedRow(t);
  }
  PushForTag(header ? "th" : "td");
  THtmlPropStack& stack = doc_.PropStack;
  // Most cells have no ALIGN attribute: no text to lower then.
  if (attrs_.Find(TAttrSymbol::AlignSy)) {
    const std::string align = AttributeLower(TAttrSymbol::AlignSy);
    if (!align.empty()) stack.SetPropUnlessRule(TextAlign, TPropValue::MakeText(pool_.Store(align)));
  }
  const std::string_view current = stack.Top().TextOf(TextAlign);
  if (current.empty() || current == "none") {
    stack.MutableTop().Set(TextAlign, TPropValue::MakeText(header ? "center" : "left"));
  }
  EmplaceCell(t, header);
  t.cellOpen = true;
  content_ = &t.row->Cells.back().Cell;
  SkipSpaces();
  Next();
  DoBody(kCellStop);
}

// Cells whose only attribute is a style attribute depend on nothing but
// their property set, the table and the row: most cells of a page are made
// from one of a few of them.
void THtmlParser::EmplaceCell(TableState& t, bool header) {
  const THtmlTable& table = t.block->Table;
  const TAttribute* style = attrs_.Find(TAttrSymbol::StyleSy);
  const bool plain = attrs_.Count() == 0 || (attrs_.Count() == 1 && style);
  auto& cells = t.row->Cells;
  if (!plain) {
    cells.emplace_back(table, doc_.PropStack.Top(), attrs_, t.row->VAlign, header, ppi_, &cellSizes_);
    return;
  }
  TCellKey key{doc_.PropStack.TopId(), table.CellPadding, table.BorderWidth, static_cast<int>(t.row->VAlign),
               header};
  const std::size_t hash = TCellKeyHash{}(key);
  if (const TCellData* hit = FindCell(key, hash)) {
    cells.emplace_back(*hit);
    return;
  }
  cells.emplace_back(table, doc_.PropStack.Top(), attrs_, t.row->VAlign, header, ppi_, &cellSizes_);
  KeepCell(key, hash, cells.back());
}

const TCellData* THtmlParser::FindCell(const TCellKey& key, std::size_t hash) const {
  if (cellIndex_.empty()) return nullptr;
  const std::size_t mask = cellIndex_.size() - 1;
  for (std::size_t i = hash & mask; cellIndex_[i] != 0; i = (i + 1) & mask) {
    const TCachedCell& cell = cellCache_[cellIndex_[i] - 1];
    if (cell.key == key) return &cell.data;
  }
  return nullptr;
}

void THtmlParser::KeepCell(const TCellKey& key, std::size_t hash, const TCellData& data) {
  if (cellCache_.size() >= kMaxCachedCells) return;
  if ((cellCache_.size() + 1) * 2 > cellIndex_.size()) {
    cellIndex_.assign(cellIndex_.empty() ? 64 : cellIndex_.size() * 2, 0);
    const std::size_t mask = cellIndex_.size() - 1;
    for (std::size_t k = 0; k < cellCache_.size(); ++k) {
      std::size_t i = TCellKeyHash{}(cellCache_[k].key) & mask;
      while (cellIndex_[i] != 0) i = (i + 1) & mask;
      cellIndex_[i] = static_cast<std::uint32_t>(k + 1);
    }
  }
  // Pages that keep cells mostly keep many: the first growths are skipped.
  if (cellCache_.empty()) cellCache_.reserve(256);
  cellCache_.push_back({key, data});
  const std::size_t mask = cellIndex_.size() - 1;
  std::size_t i = hash & mask;
  while (cellIndex_[i] != 0) i = (i + 1) & mask;
  cellIndex_[i] = static_cast<std::uint32_t>(cellCache_.size());
}

void THtmlParser::CloseCell(TableState& t) {
  if (!t.cellOpen) return;
  // Most cells end with their paragraph kept already.
  if (section_) CloseSection();
  t.cellOpen = false;
  content_ = t.outer;
}

void THtmlParser::CloseRow(TableState& t) {
  CloseCell(t);
  if (!t.row) return;
  // Rows of a table mostly have as many cells as the row before.
  rowCellsHint_[tableLevel_] = std::min<std::size_t>(t.row->Cells.size(), 64);
  t.row = nullptr;
  const bool hidden = doc_.PropStack.Depth() > t.rowDepth && doc_.PropStack.At(t.rowDepth).IsDisplayNone();
  if (hidden) {
    // The row is still the last of its list: nothing opened after it.
    if (t.inFooter) t.footerRows.pop_back();
    else t.block->Table.Rows.pop_back();
  }
  doc_.PropStack.PopToDepth(t.rowDepth);
}

// Header, body and footer groups only decide where their rows go: footer
// rows come after all others.
void THtmlParser::DoRowGroup(TableState& t) {
  CloseRow(t);
  doc_.PropStack.PopToDepth(t.tableDepth);
  t.inFooter = sy_ == Sy::TFootSy;
  if (sy_ == Sy::THeadSy) PushForTag("thead");
  else if (sy_ == Sy::TBodySy) PushForTag("tbody");
  else if (sy_ == Sy::TFootSy) PushForTag("tfoot");
  Next();
}

void THtmlParser::DoCaption(TableState& t) {
  static const TSymbolSet kCaptionStop{Sy::CaptionEndSy, Sy::TableEndSy, Sy::TRSy, Sy::TDSy, Sy::THSy,
                                       Sy::THeadSy,      Sy::TBodySy,    Sy::TFootSy};
  CloseRow(t);
  doc_.PropStack.PopToDepth(t.tableDepth);
  PushForTag("caption");
  content_ = &t.caption;
  Next();
  DoBody(kCaptionStop);
  CloseSection();
  content_ = t.outer;
  doc_.PropStack.PopToDepth(t.tableDepth);
  if (sy_ == Sy::CaptionEndSy) Next();
}

// Text and tags between rows and cells are shown before the table, in the
// content list that receives it.
void THtmlParser::DoOutsideCell(TableState& t) {
  content_ = t.outer;
  DoBody(kCellStop);
  CloseSection();
}

void THtmlParser::FinishTable(TableState& t) {
  CloseRow(t);
  if (section_) CloseSection();
  doc_.PropStack.PopToDepth(t.tableDepth);
  for (auto& row : t.footerRows) t.block->Table.Rows.push_back(std::move(row));
  t.footerRows.clear();
  if (t.caption.Empty()) {
    t.outer->Keep(*t.block);
  } else {
    TTableAndCaptionBlock& both = doc_.Nodes.CaptionedTables.Emplace();
    both.TableBlock = std::make_unique<TTableBlock>(std::move(*t.block));
    both.Caption = std::move(t.caption);
    t.outer->Keep(both);
  }
  // Nothing changes the table from here on.
  if (t.block->FreesNothing()) doc_.Nodes.Tables.MarkFreesNothing(t.blockIndex);
  doc_.PropStack.PopToDepth(t.depthBefore);
  --tableLevel_;
  content_ = t.outer;
}

}  // namespace talmeko::htmlview
