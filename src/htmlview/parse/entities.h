#pragma once
// Named character references.

#include <cstddef>
#include <string_view>

namespace talmeko::htmlview {

// The character a reference name stands for (names are case-sensitive), or 0
// when the table does not hold the name.
char16_t LookupEntity(std::string_view name);
std::size_t NamedEntityCount();

}  // namespace talmeko::htmlview
