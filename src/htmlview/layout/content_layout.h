#pragma once
// Layout of a content list (the body's, a cell's or a caption's): its
// paragraphs and tables stacked from top to bottom.

#include <memory>
#include <vector>

#include "htmlview/base/small_vector.h"
#include "htmlview/layout/text_layout.h"
#include "htmlview/parse/blocks.h"
#include "htmlview/parse/section_base.h"

namespace talmeko::htmlview {

class TTableLayout;
class TLayoutStore;

class TContentLayout {
 public:
  // Made for every table cell: kept inline, so a cell's is cheap to make.
  TContentLayout() = default;
  ~TContentLayout() = default;
  TContentLayout(TContentLayout&&) noexcept = default;
  TContentLayout& operator=(TContentLayout&&) noexcept = default;

  // Builds the layout's shape once. textBase advances past every paragraph;
  // paragraphs are appended to the store's list in document order, and
  // every layout object is made in the store.
  void Build(const TCellBasic& content, int& textBase, TLayoutStore& store, int depth);

  // Most cells of a result page hold nothing of their own (a colour swatch,
  // or a cell around a nested table's cell): an empty list is dealt with here.
  void Measure(TLayoutFonts& fonts) {
    if (items_.empty()) {
      minWidth_ = 0;
      maxWidth_ = 0;
      return;
    }
    MeasureItems(fonts);
  }
  int MinWidth() const { return minWidth_; }
  int MaxWidth() const { return maxWidth_; }
  // Lays the items out in a box of the width; returns the height.
  int Arrange(int width) {
    if (items_.empty()) {
      height_ = 0;
      return 0;
    }
    return ArrangeItems(width);
  }
  void SetOrigin(int x, int y) {
    x_ = x;
    y_ = y;
    for (const Item& item : items_) PlaceItem(item);
  }
  int Height() const { return height_; }
  // The rightmost pixel of any item, relative to the box's left edge.
  int Extent() const;
  // Whether there is nothing to draw: no items, or only empty paragraphs.
  bool IsBlank() const;

  void Paint(TPaintState& state) const;

  // One stacked item: a paragraph, or a table with the block that holds it.
  // What it points to lives in the layout store.
  struct Item {
    TSectionLayout* section = nullptr;
    TTableLayout* table = nullptr;
    const TTableBlock* tableBlock = nullptr;
    TContentLayout* caption = nullptr;  // for a table with a caption
    bool captionBelow = false;
    int x = 0;  // relative to the box
    int y = 0;
    int height = 0;
  };
  const TSmallVector<Item, 1>& Items() const { return items_; }
  int X() const { return x_; }
  int Y() const { return y_; }

 private:
  void MeasureItems(TLayoutFonts& fonts);
  int ArrangeItems(int width);
  void AddTable(const TTableBlock& block, const TCellBasic* caption, bool below, int& textBase,
                TLayoutStore& store, int depth);
  int ArrangeTable(Item& item, int width) const;
  void PlaceItem(const Item& item) const;

  // Most cells hold a single paragraph or table.
  TSmallVector<Item, 1> items_;
  int minWidth_ = 0;
  int maxWidth_ = 0;
  int height_ = 0;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace talmeko::htmlview
