#pragma once
// The content items of the document tree and the ordered lists that hold them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "htmlview/base/small_vector.h"

namespace talmeko::htmlview {

enum class TSectionKind { Section, BodyBlock, TableBlock, TableAndCaptionBlock };

enum class TTextAlign : std::uint8_t { Left, Center, Right, Justify };

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
// a single item, so a lone item is kept in place: a cell's list then costs
// no allocation of its own, and the list is two words, as every cell of a
// page carries one.
class TCellBasic {
 public:
  TCellBasic() = default;
  TCellBasic(TCellBasic&& other) noexcept : slot_(other.slot_), size_(other.size_), owned_(other.owned_) {
    other.Forget();
  }
  TCellBasic& operator=(TCellBasic&& other) noexcept {
    if (this != &other) {
      Clear();
      slot_ = other.slot_;
      size_ = other.size_;
      owned_ = other.owned_;
      other.Forget();
    }
    return *this;
  }
  // Frees without writing: a document's lists are read once more and left.
  ~TCellBasic() {
    if (owned_) {
      for (std::uint32_t i = 0; i < size_; ++i) delete Items()[i];
    }
    if (size_ > 1) delete[] slot_.many;
  }

  void Add(std::unique_ptr<TSectionBase> item) {
    Claim(true);
    Push(item.get());
    item.release();
  }
  void Keep(TSectionBase& item) {
    Claim(false);
    Push(&item);
  }
  std::size_t Count() const { return size_; }
  bool Empty() const { return size_ == 0; }
  // Whether destroying the list would free nothing: no array, and no item
  // of its own.
  bool FreesNothing() const { return size_ == 0 || (size_ == 1 && !owned_); }
  const TSectionBase& operator[](std::size_t i) const { return *Items()[i]; }
  TSectionBase& operator[](std::size_t i) { return *Items()[i]; }
  void Clear() {
    if (owned_) {
      for (std::uint32_t i = 0; i < size_; ++i) delete Items()[i];
    }
    if (size_ > 1) delete[] slot_.many;
    Forget();
  }
  void Replace(std::size_t i, std::unique_ptr<TSectionBase> item) {
    Claim(true);
    delete Items()[i];
    Items()[i] = item.release();
  }
  void ReplaceKept(std::size_t i, TSectionBase& item) {
    Claim(false);
    Items()[i] = &item;
  }

  // Iterates over pointers to the items, in order.
  const TSectionBase* const* begin() const { return Items(); }
  const TSectionBase* const* end() const { return Items() + size_; }

 private:
  // A lone item is held in the list itself; two or more live on the heap,
  // in an array whose size is the least power of two holding them.
  union TSlot {
    TSectionBase* one;
    TSectionBase** many;
  };

  TSectionBase** Items() { return size_ > 1 ? slot_.many : &slot_.one; }
  TSectionBase* const* Items() const { return size_ > 1 ? slot_.many : &slot_.one; }
  void Forget() {
    slot_.one = nullptr;
    size_ = 0;
    owned_ = true;
  }
  void Push(TSectionBase* item) {
    if (size_ == 0) {
      slot_.one = item;
      size_ = 1;
      return;
    }
    // Full when the count is a power of two (one item is full in place).
    if ((size_ & (size_ - 1)) == 0) {
      if (size_ > std::numeric_limits<std::uint32_t>::max() / 2) throw std::length_error("TCellBasic: too many items");
      auto* grown = new TSectionBase*[std::size_t{size_} * 2];
      std::copy(Items(), Items() + size_, grown);
      if (size_ > 1) delete[] slot_.many;
      slot_.many = grown;
    }
    slot_.many[size_++] = item;
  }
  void Claim(bool owned) {
    if (size_ == 0) owned_ = owned;
    else if (owned_ != owned) throw std::logic_error("TCellBasic: owned and kept items in one list");
  }

  TSlot slot_{nullptr};
  std::uint32_t size_ = 0;
  bool owned_ = true;  // whether the list deletes its items
};

}  // namespace talmeko::htmlview
