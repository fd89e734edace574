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

// Sixteen bytes a round in two lanes; the length goes in first so that parts
// cannot run into each other. A tail of eight bytes or more is read as the
// last eight, overlapping what went before, rather than byte by byte.
inline std::uint64_t HashBytes(std::uint64_t h, const char* p, std::size_t n) {
  h = MixHash(h, n);
  std::uint64_t other = h ^ 0x632BE59BD9B4E019ULL;
  const char* const start = p;
  const char* const end = p + n;
  while (n >= 16) {
    std::uint64_t w1;
    std::uint64_t w2;
    std::memcpy(&w1, p, 8);
    std::memcpy(&w2, p + 8, 8);
    h = (h ^ w1) * 0x9E3779B97F4A7C15ULL;
    other = (other ^ w2) * 0xC2B2AE3D27D4EB4FULL;
    h ^= h >> 31;
    other ^= other >> 29;
    p += 16;
    n -= 16;
  }
  if (n >= 8) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    h = MixHash(h, w);
    p += 8;
    n -= 8;
  }
  if (n > 0) {
    std::uint64_t w = 0;
    if (end - start >= 8) {
      // The last eight bytes, shifted so that only the unhashed ones remain.
      std::memcpy(&w, end - 8, 8);
      w >>= 8 * (8 - n);
    } else {
      for (std::size_t i = 0; i < n; ++i) w |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
    other = MixHash(other, w);
  }
  return MixHash(h, other);
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
