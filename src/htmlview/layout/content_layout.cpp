#include "htmlview/layout/content_layout.h"

#include <algorithm>

#include "htmlview/layout/layout_store.h"
#include "htmlview/layout/table_layout.h"
#include "htmlview/parse/section.h"

namespace talmeko::htmlview {
namespace {

// Deeper nesting than the parser ever builds is not laid out at all, so a
// hand-made tree cannot exhaust the stack.
constexpr int kMaxLayoutDepth = 64;

}  // namespace

void TContentLayout::Build(const TCellBasic& content, int& textBase, TLayoutStore& store,
                           int depth) {
  items_.clear();
  if (depth > kMaxLayoutDepth) return;
  items_.reserve(content.Count());
  for (const auto& entry : content) {
    switch (entry->Kind()) {
      case TSectionKind::Section: {
        Item item;
        const auto& section = static_cast<const TSection&>(*entry);
        item.section = &store.NewSection(section, textBase);
        textBase = ClampExtent(static_cast<long long>(textBase) + static_cast<long long>(section.Text().size()));
        items_.push_back(item);
        break;
      }
      case TSectionKind::TableBlock:
        AddTable(static_cast<const TTableBlock&>(*entry), nullptr, false, textBase, store, depth);
        break;
      case TSectionKind::TableAndCaptionBlock: {
        const auto& block = static_cast<const TTableAndCaptionBlock&>(*entry);
        if (block.TableBlock) AddTable(*block.TableBlock, &block.Caption, block.CaptionBelow, textBase, store, depth);
        break;
      }
      case TSectionKind::BodyBlock:
        Build(static_cast<const TBodyBlock&>(*entry).Content, textBase, store, depth + 1);
        break;
    }
  }
}

void TContentLayout::AddTable(const TTableBlock& block, const TCellBasic* caption, bool below, int& textBase,
                              TLayoutStore& store, int depth) {
  Item item;
  item.tableBlock = &block;
  item.captionBelow = below;
  // The caption's text comes first when it is shown above the table.
  auto buildCaption = [&]() {
    if (caption == nullptr || caption->Empty()) return;
    item.caption = &store.NewContent();
    item.caption->Build(*caption, textBase, store, depth + 1);
  };
  if (!below) buildCaption();
  item.table = &store.NewTable(block.Table);
  item.table->Build(textBase, store, depth + 1);
  if (below) buildCaption();
  items_.push_back(item);
}

void TContentLayout::MeasureItems(TLayoutFonts& fonts) {
  minWidth_ = 0;
  maxWidth_ = 0;
  for (Item& item : items_) {
    int mn = 0;
    int mx = 0;
    if (item.section) {
      item.section->Measure(fonts);
      mn = item.section->MinWidth();
      mx = item.section->MaxWidth();
    } else {
      item.table->Measure(fonts);
      const long long space = 2LL * std::max(0, item.tableBlock->HSpace);
      mn = ClampExtent(item.table->MinWidth() + space);
      mx = ClampExtent(item.table->MaxWidth() + space);
      if (item.caption) {
        item.caption->Measure(fonts);
        mn = std::max(mn, item.caption->MinWidth());
      }
    }
    minWidth_ = std::max(minWidth_, mn);
    maxWidth_ = std::max(maxWidth_, std::max(mn, mx));
  }
}

int TContentLayout::ArrangeItems(int width) {
  long long y = 0;
  for (Item& item : items_) {
    item.x = 0;
    item.y = ClampExtent(y);
    item.height = item.section ? item.section->Arrange(width) : ArrangeTable(item, width);
    y += item.height;
  }
  height_ = ClampExtent(y);
  return height_;
}

int TContentLayout::ArrangeTable(Item& item, int width) const {
  const TTableBlock& block = *item.tableBlock;
  const int hspace = std::max(0, block.HSpace);
  const int vspace = std::max(0, block.VSpace);
  const int tableHeight = item.table->Arrange(ClampExtent(static_cast<long long>(width) - 2LL * hspace));
  const int outer = item.table->OuterWidth();
  const int room = width - 2 * hspace - outer;
  TTextAlign align = block.Justify;
  if (block.HasTableAlign && block.TableAlign != TTextAlign::Left) align = block.TableAlign;
  int offset = 0;
  if (room > 0 && align == TTextAlign::Center) offset = room / 2;
  if (room > 0 && align == TTextAlign::Right) offset = room;
  item.x = hspace + offset;
  const int captionHeight = item.caption ? item.caption->Arrange(outer) : 0;
  return ClampExtent(2LL * vspace + tableHeight + captionHeight);
}

void TContentLayout::PlaceItem(const Item& item) const {
  const int x = ClampExtent(static_cast<long long>(x_) + item.x);
  int y = ClampExtent(static_cast<long long>(y_) + item.y);
  if (item.section) {
    item.section->SetOrigin(x, y);
    return;
  }
  y += std::max(0, item.tableBlock->VSpace);
  if (item.caption && !item.captionBelow) {
    item.caption->SetOrigin(x, y);
    y = ClampExtent(static_cast<long long>(y) + item.caption->Height());
  }
  item.table->SetOrigin(x, y);
  if (item.caption && item.captionBelow) {
    item.caption->SetOrigin(x, ClampExtent(static_cast<long long>(y) + item.table->OuterHeight()));
  }
}

int TContentLayout::Extent() const {
  int extent = 0;
  for (const Item& item : items_) {
    int right = item.section ? item.section->Extent() : ClampExtent(static_cast<long long>(item.x) + item.table->OuterWidth());
    if (item.caption) right = std::max(right, ClampExtent(static_cast<long long>(item.x) + item.caption->Extent()));
    extent = std::max(extent, right);
  }
  return extent;
}

bool TContentLayout::IsBlank() const {
  for (const Item& item : items_) {
    if (!item.section || !item.section->Section().Empty()) return false;
  }
  return true;
}

void TContentLayout::Paint(TPaintState& state) const {
  for (const Item& item : items_) {
    const long long top = static_cast<long long>(y_) + item.y;
    if (top >= state.docBottom) break;
    if (top + item.height <= state.docTop) continue;
    if (item.section) {
      item.section->Paint(state);
      continue;
    }
    if (item.caption && !item.captionBelow) item.caption->Paint(state);
    item.table->Paint(state);
    if (item.caption && item.captionBelow) item.caption->Paint(state);
  }
}

}  // namespace talmeko::htmlview
