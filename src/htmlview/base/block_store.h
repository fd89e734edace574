#pragma once
// A store of many small objects of one type: the document tree and its
// layout are made of thousands of them, and making each on the heap would
// cost an allocation to make and a release to destroy, apiece.

#include <cstddef>
#include <cstdint>
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
    // not through the virtual one a base may declare. Objects marked as
    // freeing nothing are not read at all.
    if constexpr (!std::is_trivially_destructible_v<T>) {
      for (std::size_t i = count_; i-- > 0;) {
        if (i / 64 < skipped_.size() && (skipped_[i / 64] >> (i % 64) & 1) != 0) continue;
        At(i)->T::~T();
      }
    }
  }

  std::size_t Count() const { return count_; }

  // Marks the object made i-th (from 0) as one whose destructor would free
  // nothing and do nothing else: the store then leaves it undestroyed, and
  // tearing a large document down touches only the objects that hold memory.
  // The caller answers for the object not changing afterwards.
  void MarkFreesNothing(std::size_t i) {
    if (i >= count_) return;
    if (i / 64 >= skipped_.size()) skipped_.resize(i / 64 + 1, 0);
    skipped_[i / 64] |= std::uint64_t{1} << (i % 64);
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
  std::vector<std::uint64_t> skipped_;  // a bit per object left undestroyed
};

}  // namespace talmeko::htmlview
