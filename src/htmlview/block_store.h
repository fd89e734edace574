#pragma once
// A store of many small objects of one type: the document tree and its
// layout are made of thousands of them, and making each on the heap would
// cost an allocation to make and a release to destroy, apiece.

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

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
    // Every object here is exactly a T: its destructor is called directly,
    // not through the virtual one a base may declare.
    if constexpr (!std::is_trivially_destructible_v<T>) {
      for (std::size_t i = count_; i-- > 0;) At(i)->T::~T();
    }
  }

  template <typename... Args>
  T& Emplace(Args&&... args) {
    if (count_ == blocks_.size() * kPerBlock) blocks_.push_back(std::make_unique_for_overwrite<TSlot[]>(kPerBlock));
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

}  // namespace talmeko::htmlview
