#pragma once
// A fixed table of lower-case names, hashed when the program is compiled:
// the style parsers look up every property, shorthand and colour name they
// read, and a probe or two costs far less than comparing against each name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace talmeko::htmlview {

constexpr std::uint32_t HashName(std::string_view name) {
  std::uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

template <typename T>
struct TNamedValue {
  std::string_view name;
  T value{};
};

// Size is a power of two at least twice the number of names, so that every
// probe sequence meets an empty place and stays short.
template <typename T, std::size_t Size>
class TNameTable {
  static_assert((Size & (Size - 1)) == 0, "the table size must be a power of two");

 public:
  template <std::size_t N>
  constexpr explicit TNameTable(const std::array<TNamedValue<T>, N>& names) {
    static_assert(N * 2 <= Size, "the table must stay at most half full");
    for (const auto& n : names) {
      std::size_t i = HashName(n.name) & (Size - 1);
      while (!entries_[i].name.empty()) i = (i + 1) & (Size - 1);
      entries_[i] = n;
    }
  }

  // The value of the name, or null for a name not in the table.
  const T* Find(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (std::size_t i = HashName(name) & (Size - 1);; i = (i + 1) & (Size - 1)) {
      const TNamedValue<T>& e = entries_[i];
      if (e.name.empty()) return nullptr;
      if (e.name == name) return &e.value;
    }
  }

 private:
  std::array<TNamedValue<T>, Size> entries_{};
};

}  // namespace talmeko::htmlview
