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

  // One multiplication a word, the products summed: tables take the top
  // bits, which every byte of the name reaches.
  constexpr std::uint64_t Hash() const {
    static_assert(kMaxTableName / 8 == 3);
    return (words[0] ^ size) * 0x9E3779B97F4A7C15ULL + words[1] * 0xC2B2AE3D27D4EB4FULL +
           words[2] * 0x165667B19E3779F9ULL;
  }
  friend constexpr bool operator==(const TTableName&, const TTableName&) = default;
  // The same as ==, with the words compared at once rather than one by one.
  constexpr bool SameAs(const TTableName& other) const {
    static_assert(kMaxTableName / 8 == 3);
    return ((words[0] ^ other.words[0]) | (words[1] ^ other.words[1]) | (words[2] ^ other.words[2]) |
            (size ^ other.size)) == 0;
  }
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
  static_assert(Size >= 2 && (Size & (Size - 1)) == 0, "the table size must be a power of two");

 public:
  template <std::size_t N>
  constexpr explicit TNameTable(const std::array<TNamedValue<T>, N>& names) {
    static_assert(N * 2 <= Size, "the table must stay at most half full");
    for (const auto& n : names) {
      TTableName key;
      if (n.name.empty() || !TTableName::From(n.name, key)) throw "a table name is empty or too long";
      std::size_t i = Home(key);
      while (entries_[i].key.size != 0) i = (i + 1) & (Size - 1);
      entries_[i] = {key, n.value};
    }
  }

  // The value of the name, or null for a name not in the table.
  const T* Find(const TTableName& name) const {
    if (name.size == 0) return nullptr;
    for (std::size_t i = Home(name);; i = (i + 1) & (Size - 1)) {
      const TEntry& e = entries_[i];
      // Most places passed over hold a name of another length.
      if (e.key.size == name.size && e.key.SameAs(name)) return &e.value;
      if (e.key.size == 0) return nullptr;
    }
  }
  const T* Find(std::string_view name) const {
    TTableName key;
    if (!TTableName::From(name, key)) return nullptr;
    return Find(key);
  }

 private:
  static constexpr int kSizeBits = std::countr_zero(Size);
  // Where the probes for a name start.
  static constexpr std::size_t Home(const TTableName& name) {
    return static_cast<std::size_t>(name.Hash() >> (64 - kSizeBits));
  }

  struct TEntry {
    TTableName key;
    T value{};
  };
  std::array<TEntry, Size> entries_{};
};

}  // namespace talmeko::htmlview
