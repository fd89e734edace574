#pragma once
// Hashing and comparing short byte strings for the view's caches: tag names,
// classes and style attribute texts, hashed for nearly every element opened.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace talmeko::htmlview {

inline std::uint64_t MixHash(std::uint64_t h, std::uint64_t v) {
  h ^= v;
  h *= 0x9E3779B97F4A7C15ULL;
  return h ^ (h >> 29);
}

// The two halves of the full product of two words, folded together: one
// multiplication mixes sixteen bytes.
inline std::uint64_t MultiplyFold(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  __extension__ typedef unsigned __int128 TWide;
  const TWide product = static_cast<TWide>(a) * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
#else
  return MixHash(a, b) ^ MixHash(b, a);
#endif
}

inline std::uint64_t LoadWord(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

inline std::uint64_t LoadHalfWord(const char* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}

// Sixteen bytes a round, one multiplication each; the length goes in first
// so that parts cannot run into each other. The last sixteen (or fewer) are
// read as words overlapping what went before, not byte by byte. Style texts
// are tens of bytes long and hashed for every element that has one.
inline std::uint64_t HashBytes(std::uint64_t h, const char* p, std::size_t n) {
  constexpr std::uint64_t k1 = 0xA0761D6478BD642FULL;
  constexpr std::uint64_t k2 = 0xE7037ED1A0B428DBULL;
  std::uint64_t seed = MixHash(h, n);
  const char* const end = p + n;
  std::uint64_t a;
  std::uint64_t b;
  if (n > 16) {
    for (; end - p > 16; p += 16) seed = MultiplyFold(LoadWord(p) ^ k1, LoadWord(p + 8) ^ seed);
    a = LoadWord(end - 16);
    b = LoadWord(end - 8);
  } else if (n >= 8) {
    a = LoadWord(p);
    b = LoadWord(end - 8);
  } else if (n >= 4) {
    a = LoadHalfWord(p);
    b = LoadHalfWord(end - 4);
  } else {
    a = 0;
    for (std::size_t i = 0; i < n; ++i) a |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    b = 0;
  }
  return MultiplyFold(a ^ k2, b ^ seed) ^ seed;
}

// Short texts are compared without a library call, eight bytes at a time;
// the last eight may overlap what went before.
inline bool SameBytes(std::string_view a, const char* b, std::size_t n) {
  if (a.size() != n) return false;
  const char* x = a.data();
  if (n < 8) {
    for (std::size_t i = 0; i < n; ++i) {
      if (x[i] != b[i]) return false;
    }
    return true;
  }
  auto word = [](const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
  };
  for (std::size_t i = 0; i + 8 <= n; i += 8) {
    if (word(x + i) != word(b + i)) return false;
  }
  return word(x + n - 8) == word(b + n - 8);
}

}  // namespace talmeko::htmlview
