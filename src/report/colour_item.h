#pragma once
// Colour list items: the number as typed, " (", the brand key, ")".

#include <string>
#include <string_view>

namespace talmeko::report {

struct ColourItemParts {
  std::string_view number;
  std::string_view brand;
};

std::string FormColourItem(std::string_view number, std::string_view brand);

// Splits an item back at its first " (": the number is the text before it,
// the brand key what follows it less the item's last character, whatever
// that is. Items of other shapes still give the parts this rule yields, so
// items loaded from files come back exactly as they always have.
ColourItemParts SplitColourItem(std::string_view item);

}  // namespace talmeko::report
