#pragma once
// Colour values of style texts.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/geometry.h"

namespace talmeko::htmlview {

// Parses a colour: a CSS colour name, "transparent" (no colour), rgb()/rgba()
// and hsl()/hsla() notations, or hexadecimal digits RRGGBB or RGB. With
// needsHash set, hexadecimal digits count only when written after "#".
// Returns false when the text is no colour; the colour is then untouched.
bool ColorFromString(std::string_view text, bool needsHash, platform::Color& color);

// Exactly "#rrggbb" or "#rgb", digits in either case: the colour
// ColorFromString gives such a text, without its general parse. False for
// any other text.
inline bool ColorFromHexCode(std::string_view text, platform::Color& color);

// A colour name or "transparent" exactly as the table holds it, in lower
// case: the colour ColorFromString gives that text. False for any other
// text.
bool ColorFromName(std::string_view lowerName, platform::Color& color);

namespace colors_detail {
// The value of each hexadecimal digit, either case; 0xFF for other bytes.
constexpr std::array<std::uint8_t, 256> HexDigits() {
  std::array<std::uint8_t, 256> digits{};
  for (int c = 0; c < 256; ++c) {
    digits[c] = c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0')
                : c >= 'a' && c <= 'f' ? static_cast<std::uint8_t>(c - 'a' + 10)
                : c >= 'A' && c <= 'F' ? static_cast<std::uint8_t>(c - 'A' + 10)
                                       : std::uint8_t{0xFF};
  }
  return digits;
}
inline constexpr std::array<std::uint8_t, 256> kHexDigits = HexDigits();
}  // namespace colors_detail

// Inline: the style attribute reader calls it for every background.
inline bool ColorFromHexCode(std::string_view text, platform::Color& color) {
  auto digit = [&text](std::size_t i) -> std::uint32_t {
    return colors_detail::kHexDigits[static_cast<unsigned char>(text[i])];
  };
  // Digits are below 16, so a byte that is none shows in the bits above.
  if (text.size() == 7 && text[0] == '#') {
    const std::uint32_t r1 = digit(1), r2 = digit(2), g1 = digit(3), g2 = digit(4), b1 = digit(5), b2 = digit(6);
    if (((r1 | r2 | g1 | g2 | b1 | b2) & 0xF0) != 0) return false;
    color = (r1 << 4) | r2 | (g1 << 12) | (g2 << 8) | (b1 << 20) | (b2 << 16);
    return true;
  }
  if (text.size() == 4 && text[0] == '#') {
    const std::uint32_t r = digit(1), g = digit(2), b = digit(3);
    if (((r | g | b) & 0xF0) != 0) return false;
    color = platform::Rgb(static_cast<int>(r * 17), static_cast<int>(g * 17), static_cast<int>(b * 17));
    return true;
  }
  return false;
}

}  // namespace talmeko::htmlview
