#pragma once
// A vector of trivially copyable values that keeps its first few in place.
// Layout keeps a few small lists per paragraph (its pieces, words and lines),
// and nearly every paragraph of a result page has a single one of each: held
// in place they cost no allocation at all.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace talmeko::htmlview {

template <typename T, std::size_t N>
class TSmallVector {
  // Checked where used: the element type may be a nested class whose
  // enclosing class is still incomplete where the vector is declared.
  static constexpr bool Check() {
    static_assert(std::is_trivially_copyable_v<T>);
    return true;
  }

 public:
  TSmallVector() { static_assert(Check()); }
  TSmallVector(const TSmallVector& other) { *this = other; }
  TSmallVector& operator=(const TSmallVector& other) {
    if (this == &other) return *this;
    clear();
    reserve(other.size_);
    std::copy(other.begin(), other.end(), data());
    size_ = other.size_;
    return *this;
  }
  TSmallVector(TSmallVector&& other) noexcept { *this = std::move(other); }
  TSmallVector& operator=(TSmallVector&& other) noexcept {
    if (this == &other) return *this;
    heap_ = std::move(other.heap_);
    capacity_ = other.capacity_;
    size_ = other.size_;
    std::copy(other.inline_, other.inline_ + N, inline_);
    other.capacity_ = N;
    other.size_ = 0;
    return *this;
  }

  void push_back(const T& value) {
    if (size_ == capacity_) reserve(std::size_t{capacity_} * 2);
    data()[size_++] = value;
  }
  void clear() { size_ = 0; }
  void assign(std::size_t count, const T& value) {
    clear();
    reserve(count);
    std::fill(data(), data() + count, value);
    size_ = static_cast<std::uint32_t>(count);
  }
  void resize(std::size_t count, const T& value = T{}) {
    reserve(count);
    if (count > size_) std::fill(data() + size_, data() + count, value);
    size_ = static_cast<std::uint32_t>(count);
  }
  void reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    if (capacity > kMaxCount) throw std::length_error("TSmallVector: too many elements");
    auto grown = std::make_unique<T[]>(capacity);
    std::copy(begin(), end(), grown.get());
    heap_ = std::move(grown);
    capacity_ = static_cast<std::uint32_t>(capacity);
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return data()[i]; }
  const T& operator[](std::size_t i) const { return data()[i]; }
  const T& at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("TSmallVector::at");
    return data()[i];
  }
  T& back() { return data()[size_ - 1]; }
  const T& back() const { return data()[size_ - 1]; }
  T* data() { return heap_ ? heap_.get() : inline_; }
  const T* data() const { return heap_ ? heap_.get() : inline_; }
  T* begin() { return data(); }
  T* end() { return data() + size_; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }

 private:
  // Counts are kept in 32 bits: the vector is smaller, and no list of a
  // page comes near that many elements.
  static constexpr std::size_t kMaxCount = std::numeric_limits<std::uint32_t>::max();
  static_assert(N <= kMaxCount);

  T inline_[N]{};
  std::unique_ptr<T[]> heap_;
  std::uint32_t capacity_ = N;
  std::uint32_t size_ = 0;
};

}  // namespace talmeko::htmlview
