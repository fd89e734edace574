#pragma once
// The content items of the document tree and the ordered lists that hold them.

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

#include "htmlview/small_vector.h"

namespace talmeko::htmlview {

enum class TSectionKind { Section, BodyBlock, TableBlock, TableAndCaptionBlock };

enum class TTextAlign { Left, Center, Right, Justify };

// One content item. Layout dispatches on Kind(); the tree is read-only once
// built, and layout keeps its results elsewhere.
class TSectionBase {
 public:
  virtual ~TSectionBase() = default;
  virtual TSectionKind Kind() const = 0;
};

// An ordered list of content items: the body's, a cell's or a caption's.
// Its items either all belong to it (Add) or all live in a store that
// outlives it (Keep), as the parser's do. Nearly every cell of a page holds
// a single item, so the first is kept in place: a cell's list then costs no
// allocation of its own.
class TCellBasic {
 public:
  TCellBasic() = default;
  TCellBasic(TCellBasic&&) noexcept = default;
  TCellBasic& operator=(TCellBasic&& other) noexcept {
    if (this != &other) {
      Clear();
      items_ = std::move(other.items_);
      owned_ = other.owned_;
    }
    return *this;
  }
  ~TCellBasic() { Clear(); }

  void Add(std::unique_ptr<TSectionBase> item) {
    Claim(true);
    items_.push_back(item.get());
    item.release();
  }
  void Keep(TSectionBase& item) {
    Claim(false);
    items_.push_back(&item);
  }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  const TSectionBase& operator[](std::size_t i) const { return *items_[i]; }
  TSectionBase& operator[](std::size_t i) { return *items_[i]; }
  void Clear() {
    if (owned_) {
      for (TSectionBase* item : items_) delete item;
    }
    items_.clear();
  }
  void Replace(std::size_t i, std::unique_ptr<TSectionBase> item) {
    Claim(true);
    delete items_[i];
    items_[i] = item.release();
  }
  void ReplaceKept(std::size_t i, TSectionBase& item) {
    Claim(false);
    items_[i] = &item;
  }

  // Iterates over pointers to the items, in order.
  const TSectionBase* const* begin() const { return items_.begin(); }
  const TSectionBase* const* end() const { return items_.end(); }

 private:
  void Claim(bool owned) {
    if (items_.empty()) owned_ = owned;
    else if (owned_ != owned) throw std::logic_error("TCellBasic: owned and kept items in one list");
  }

  TSmallVector<TSectionBase*, 1> items_;
  bool owned_ = true;  // whether the list deletes its items
};

}  // namespace talmeko::htmlview
