#pragma once
// A vector that keeps its first few elements in place, for element types
// that are moved rather than copied. The document's tables mostly have one
// row of two cells; held in place they need no allocation of their own.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace talmeko::htmlview {

template <typename T, std::size_t N>
class TInlineVector {
 public:
  TInlineVector() = default;
  TInlineVector(const TInlineVector&) = delete;
  TInlineVector& operator=(const TInlineVector&) = delete;
  TInlineVector(TInlineVector&& other) noexcept { TakeFrom(other); }
  TInlineVector& operator=(TInlineVector&& other) noexcept {
    if (this != &other) {
      Release();
      TakeFrom(other);
    }
    return *this;
  }
  // Frees without writing: a document's rows are read once more and left.
  ~TInlineVector() {
    DestroyAll();
    if (heap_) Deallocate(heap_);
  }

  template <typename... Args>
  T& emplace_back(Args&&... args) {
    static_assert(std::is_nothrow_move_constructible_v<T>);
    if (size_ < capacity_) {
      T* made = new (data() + size_) T(std::forward<Args>(args)...);
      ++size_;
      return *made;
    }
    // The new element is made first: its arguments may refer to an element
    // that moves.
    const std::size_t capacity = std::max<std::size_t>(std::size_t{capacity_} * 2, 1);
    if (capacity > kMaxCount) throw std::length_error("TInlineVector: too many elements");
    T* fresh = Allocate(capacity);
    T* made = nullptr;
    try {
      made = new (fresh + size_) T(std::forward<Args>(args)...);
    } catch (...) {
      Deallocate(fresh);
      throw;
    }
    MoveInto(fresh);
    heap_ = fresh;
    capacity_ = static_cast<std::uint32_t>(capacity);
    ++size_;
    return *made;
  }
  void push_back(T&& value) { emplace_back(std::move(value)); }

  void reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    if (capacity > kMaxCount) throw std::length_error("TInlineVector: too many elements");
    T* fresh = Allocate(capacity);
    MoveInto(fresh);
    heap_ = fresh;
    capacity_ = static_cast<std::uint32_t>(capacity);
  }
  void pop_back() { data()[--size_].~T(); }
  void clear() {
    DestroyAll();
    size_ = 0;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return data()[i]; }
  const T& operator[](std::size_t i) const { return data()[i]; }
  const T& at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("TInlineVector::at");
    return data()[i];
  }
  T& back() { return data()[size_ - 1]; }
  const T& back() const { return data()[size_ - 1]; }
  // Whether the elements live in storage of their own.
  bool OnHeap() const { return heap_ != nullptr; }
  T* data() { return heap_ ? heap_ : InlineData(); }
  const T* data() const { return heap_ ? heap_ : InlineData(); }
  T* begin() { return data(); }
  T* end() { return data() + size_; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }

 private:
  T* InlineData() { return std::launder(reinterpret_cast<T*>(inline_)); }
  const T* InlineData() const { return std::launder(reinterpret_cast<const T*>(inline_)); }
  // Types of ordinary alignment take the plain allocator: the aligned one
  // is a slower path of the same heap.
  static constexpr bool kOverAligned = alignof(T) > __STDCPP_DEFAULT_NEW_ALIGNMENT__;
  static T* Allocate(std::size_t count) {
    if constexpr (kOverAligned) {
      return static_cast<T*>(::operator new(count * sizeof(T), std::align_val_t{alignof(T)}));
    } else {
      return static_cast<T*>(::operator new(count * sizeof(T)));
    }
  }
  static void Deallocate(T* p) {
    if constexpr (kOverAligned) {
      ::operator delete(p, std::align_val_t{alignof(T)});
    } else {
      ::operator delete(p);
    }
  }

  // Moves the elements into fresh storage and frees the old heap storage.
  void MoveInto(T* fresh) {
    T* old = data();
    for (std::size_t i = 0; i < size_; ++i) {
      new (fresh + i) T(std::move(old[i]));
      old[i].~T();
    }
    if (heap_) Deallocate(heap_);
  }
  void TakeFrom(TInlineVector& other) {
    if (other.heap_) {
      heap_ = other.heap_;
      capacity_ = other.capacity_;
      size_ = other.size_;
      other.heap_ = nullptr;
      other.capacity_ = N;
      other.size_ = 0;
      return;
    }
    for (std::size_t i = 0; i < other.size_; ++i) new (InlineData() + i) T(std::move(other.InlineData()[i]));
    size_ = other.size_;
    other.clear();
  }
  void DestroyAll() {
    if constexpr (!std::is_trivially_destructible_v<T>) {
      T* const first = data();
      for (T* p = first + size_; p != first;) (--p)->~T();
    }
  }
  void Release() {
    clear();
    if (heap_) Deallocate(heap_);
    heap_ = nullptr;
    capacity_ = N;
  }

  // Counts are kept in 32 bits: the vector is smaller, and no row or table
  // of a page comes near that many elements.
  static constexpr std::size_t kMaxCount = std::numeric_limits<std::uint32_t>::max();
  static_assert(N <= kMaxCount);

  alignas(T) unsigned char inline_[N * sizeof(T)];
  T* heap_ = nullptr;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = N;
};

}  // namespace talmeko::htmlview
