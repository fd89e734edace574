#pragma once
// A fixed table of lower-case names, hashed when the program is compiled:
// the style parsers look up every property, shorthand and colour name they
// read, and a probe or two costs far less than comparing against each name.
// Names are kept zero-padded to a few machine words, so that a look-up
// compares words instead of calling a byte comparison.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace talmeko::htmlview {

// No property, shorthand or colour name is longer; longer names match
// nothing.
inline constexpr std::size_t kMaxTableName = 24;

// A name as the table compares it: its bytes zero-padded, and its length.
struct TTableName {
  std::array<std::uint64_t, kMaxTableName / 8> words{};
  std::size_t size = 0;

  // The bytes must be zero past the name.
  static constexpr TTableName FromPadded(const std::array<char, kMaxTableName>& bytes, std::size_t size) {
    return {std::bit_cast<std::array<std::uint64_t, kMaxTableName / 8>>(bytes), size};
  }
  // False for a name too long for any table.
  static constexpr bool From(std::string_view name, TTableName& out) {
    if (name.size() > kMaxTableName) return false;
    std::array<char, kMaxTableName> bytes{};
    for (std::size_t i = 0; i < name.size(); ++i) bytes[i] = name[i];
    out = FromPadded(bytes, name.size());
    return true;
  }

  constexpr std::uint64_t Hash() const {
    std::uint64_t h = size * 0x9E3779B97F4A7C15ULL;
    for (std::uint64_t w : words) h = (h ^ w) * 0xFF51AFD7ED558CCDULL;
    return h ^ (h >> 32);
  }
  friend constexpr bool operator==(const TTableName&, const TTableName&) = default;
};

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
      TTableName key;
      if (n.name.empty() || !TTableName::From(n.name, key)) throw "a table name is empty or too long";
      std::size_t i = key.Hash() & (Size - 1);
      while (entries_[i].key.size != 0) i = (i + 1) & (Size - 1);
      entries_[i] = {key, n.value};
    }
  }

  // The value of the name, or null for a name not in the table.
  const T* Find(const TTableName& name) const {
    if (name.size == 0) return nullptr;
    for (std::size_t i = name.Hash() & (Size - 1);; i = (i + 1) & (Size - 1)) {
      const TEntry& e = entries_[i];
      if (e.key == name) return &e.value;
      if (e.key.size == 0) return nullptr;
    }
  }
  const T* Find(std::string_view name) const {
    TTableName key;
    if (!TTableName::From(name, key)) return nullptr;
    return Find(key);
  }

 private:
  struct TEntry {
    TTableName key;
    T value{};
  };
  std::array<TEntry, Size> entries_{};
};

}  // namespace talmeko::htmlview
