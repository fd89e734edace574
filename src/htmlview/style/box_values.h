#pragma once
// The box of an element in pixels: margins, paddings, borders, width and
// height, converted from its property set for a base width.

#include <array>
#include <cstdint>

#include "htmlview/style/properties.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

enum TSide : int { sTop = 0, sRight = 1, sBottom = 2, sLeft = 3 };

struct TBoxValues {
  std::array<int, 4> margin{};
  std::array<bool, 4> marginSet{};
  std::array<bool, 4> marginAuto{};
  std::array<int, 4> padding{};
  std::array<bool, 4> paddingSet{};
  std::array<int, 4> borderWidth{};
  std::array<int, 4> borderStyle{};  // TBorderStyleCode
  std::array<bool, 4> borderStyleSet{};
  std::array<platform::Color, 4> borderColor{platform::kNoColor, platform::kNoColor, platform::kNoColor,
                                             platform::kNoColor};
  int width = 0;
  bool widthSet = false;
  bool widthAuto = false;
  int height = 0;
  bool heightSet = false;
};

// The slots from margin-top to border-left-style, as bits of
// TProperties::ValuedSlots: a set holding none of them gives a box whose
// sides are all as a new TBoxValues has them.
inline constexpr std::uint64_t kBoxSideSlots =
    ((std::uint64_t{1} << (BorderLeftStyle + 1)) - 1) & ~((std::uint64_t{1} << MarginTop) - 1);

// Percentages are of baseWidth; "em" and "ex" use the set's font size.
TBoxValues GetBoxValues(const TProperties& props, int baseWidth, int pixelsPerInch);

// The border style a set gives one side; -1 when the set says nothing.
int BorderStyleOf(const TProperties& props, TSide side);

}  // namespace talmeko::htmlview
