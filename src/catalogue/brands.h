#pragma once
// Brand keys, colour numbers, number lists and colour codes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/tables.h"

namespace talmeko::catalogue {

inline constexpr std::size_t kBrandCount = 15;

// The fifteen brand keys in brand order (the order of conversion slots).
extern const std::array<std::string_view, kBrandCount> kBrandKeys;

// The five brands the tables hold, in column order of the result page.
inline constexpr std::array<std::string_view, 5> kTableBrands = {"dmc", "gamma", "anchor", "madeira", "kirov"};

// Position of a key in brand order, or nothing when it is none of the fifteen.
std::optional<std::size_t> BrandIndex(std::string_view key);
bool IsTableBrand(std::string_view key);

// Display name in Windows-1251 ("Гамма", "ПНК им. Кирова"), or nothing.
std::optional<std::string_view> BrandDisplayName(std::string_view key);

// The brand key of a palette chooser index (0..14), or nothing.
std::optional<std::string_view> ChooserBrandKey(int index);

std::string NormalizeNumber(std::string_view number);

// Appends the normalised form of a number without building it separately.
void AppendNormalizedNumber(std::string& out, std::string_view number);

// True when the two numbers normalise to the same text; allocates nothing.
bool SameNumber(std::string_view a, std::string_view b);

// The text before the first ',' of a number list.
std::string_view FirstNumber(std::string_view list);
void AppendNumber(std::string& list, std::string_view number);

// The stored code of the first number of the list, or empty text.
std::string FindColorCode(const Tables& tables, std::string_view list, std::string_view brand);

// "#RRGGBB" into 00BBGGRR; false and the colour untouched for anything not 7 long or not "#"-led.
bool HTMLToColor(std::string_view text, std::uint32_t& color);

int ColorDistance(std::uint32_t a, std::uint32_t b);

}  // namespace talmeko::catalogue
