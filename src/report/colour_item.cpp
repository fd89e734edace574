#include "report/colour_item.h"

namespace talmeko::report {

std::string FormColourItem(std::string_view number, std::string_view brand) {
  std::string item;
  item.reserve(number.size() + brand.size() + 3);
  item.append(number).append(" (").append(brand).append(")");
  return item;
}

ColourItemParts SplitColourItem(std::string_view item) {
  const std::size_t opening = item.find(" (");
  ColourItemParts parts;
  if (opening != std::string_view::npos) parts.number = item.substr(0, opening);
  // The brand starts two characters after the opening, or at the second
  // character when there is none, and is three characters shorter than what
  // the number leaves of the item.
  const std::size_t start = opening == std::string_view::npos ? 1 : opening + 2;
  const long long count =
      static_cast<long long>(item.size()) - static_cast<long long>(parts.number.size()) - 3;
  if (count > 0 && start < item.size()) parts.brand = item.substr(start, static_cast<std::size_t>(count));
  return parts;
}

}  // namespace talmeko::report
