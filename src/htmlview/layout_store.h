#pragma once
// Where the layout objects of one document live. A result page lays out
// thousands of small tables, each with a paragraph or two: made one by one
// on the heap they would cost several allocations apiece, first layout and
// teardown alike. Here they are made in blocks and go all together.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "htmlview/content_layout.h"
#include "htmlview/table_layout.h"
#include "htmlview/text_layout.h"

namespace talmeko::htmlview {

// Objects of one type made in blocks of a few dozen; none moves once made,
// and all are destroyed with the store.
template <typename T>
class TBlockStore {
 public:
  TBlockStore() = default;
  TBlockStore(const TBlockStore&) = delete;
  TBlockStore& operator=(const TBlockStore&) = delete;
  ~TBlockStore() {
    for (std::size_t i = count_; i-- > 0;) At(i)->~T();
  }

  template <typename... Args>
  T& Emplace(Args&&... args) {
    if (count_ == blocks_.size() * kPerBlock) blocks_.push_back(std::make_unique<TSlot[]>(kPerBlock));
    T* made = new (At(count_)) T(std::forward<Args>(args)...);
    ++count_;
    return *made;
  }

 private:
  static constexpr std::size_t kPerBlock = 64;
  struct TSlot {
    alignas(T) unsigned char bytes[sizeof(T)];
  };
  T* At(std::size_t i) { return std::launder(reinterpret_cast<T*>(blocks_[i / kPerBlock][i % kPerBlock].bytes)); }

  std::vector<std::unique_ptr<TSlot[]>> blocks_;
  std::size_t count_ = 0;
};

class TLayoutStore {
 public:
  TLayoutStore() = default;
  TLayoutStore(const TLayoutStore&) = delete;
  TLayoutStore& operator=(const TLayoutStore&) = delete;

  // The objects stay where they are made for the store's whole life.
  TSectionLayout& NewSection(const TSection& section, int textBase) {
    TSectionLayout& made = sectionStore_.Emplace(section, textBase);
    sections.push_back(&made);
    return made;
  }
  TTableLayout& NewTable(const THtmlTable& table) { return tables_.Emplace(table); }
  TContentLayout& NewContent() { return contents_.Emplace(); }

  // Every paragraph, in document order.
  std::vector<TSectionLayout*> sections;

 private:
  TBlockStore<TSectionLayout> sectionStore_;
  TBlockStore<TTableLayout> tables_;
  TBlockStore<TContentLayout> contents_;
};

}  // namespace talmeko::htmlview
