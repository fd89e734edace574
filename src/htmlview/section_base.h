#pragma once
// The content items of the document tree and the ordered lists that hold them.

#include <cstddef>
#include <memory>
#include <vector>

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
class TCellBasic {
 public:
  TCellBasic() = default;
  TCellBasic(TCellBasic&&) noexcept = default;
  TCellBasic& operator=(TCellBasic&&) noexcept = default;

  void Add(std::unique_ptr<TSectionBase> item) { items_.push_back(std::move(item)); }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  const TSectionBase& operator[](std::size_t i) const { return *items_[i]; }
  TSectionBase& operator[](std::size_t i) { return *items_[i]; }
  void Clear() { items_.clear(); }
  void Replace(std::size_t i, std::unique_ptr<TSectionBase> item) { items_[i] = std::move(item); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<TSectionBase>> items_;
};

}  // namespace talmeko::htmlview
