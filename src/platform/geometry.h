#pragma once
// Integer geometry and colours shared by the drawing surface and its users.

#include <cstdint>

namespace talmeko::platform {

// A colour reference, hexadecimal 00BBGGRR: red in the low byte.
// 0x1FFFFFFF stands for "no colour"; 0xFF000000 + index is a system colour
// that is resolved only when it is drawn.
using Color = std::uint32_t;

inline constexpr Color kNoColor = 0x1FFFFFFF;
inline constexpr Color kSystemColorBase = 0xFF000000;
inline constexpr int kColorWindow = 5;
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorBtnShadow = 16;
inline constexpr int kColorBtnHighlight = 20;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000) == kSystemColorBase; }

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left and top are inside, right and bottom just outside, as with window rectangles.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool Intersects(const Rect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace talmeko::platform
