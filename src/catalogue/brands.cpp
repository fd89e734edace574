#include "catalogue/brands.h"

#include <algorithm>

namespace talmeko::catalogue {

const std::array<std::string_view, kBrandCount> kBrandKeys = {
    "dmc",  "gamma", "anchor",     "madeira",        "mayflower", "dome",  "kirov",  "jp",
    "finca", "anchorwool", "paternayanwool", "ariadna", "semco", "belka", "bestex"};

namespace {

// Display names in brand order; the two Russian ones are Windows-1251 bytes.
constexpr std::array<std::string_view, kBrandCount> kDisplayNames = {
    "DMC",         "\xC3\xE0\xEC\xEC\xE0",  "Anchor",         "Madeira",
    "MayFlower",   "DOME",                  "\xCF\xCD\xCA \xE8\xEC. \xCA\xE8\xF0\xEE\xE2\xE0",
    "JP Coats",    "Finca",                 "AnchorWool",     "PaternayanWool",
    "Ariadna",     "Semco",                 "Belka",          "Bestex"};

// The palette chooser lists the brands in an order of its own.
constexpr std::array<std::string_view, kBrandCount> kChooserKeys = {
    "dmc",   "gamma",      "anchor",         "madeira", "kirov", "dome",  "mayflower", "jp",
    "finca", "anchorwool", "paternayanwool", "ariadna", "semco", "belka", "bestex"};

bool IsZero(char c) { return c == '0'; }
bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads a two-character component the way a hexadecimal parse does that stops
// at the first character that is no hex digit.
std::uint32_t ReadComponent(char high, char low) {
  const int h = HexDigit(high);
  if (h < 0) return 0;
  const int l = HexDigit(low);
  if (l < 0) return static_cast<std::uint32_t>(h);
  return static_cast<std::uint32_t>(h * 16 + l);
}

}  // namespace

std::optional<std::size_t> BrandIndex(std::string_view key) {
  const auto it = std::find(kBrandKeys.begin(), kBrandKeys.end(), key);
  if (it == kBrandKeys.end()) return std::nullopt;
  return static_cast<std::size_t>(it - kBrandKeys.begin());
}

bool IsTableBrand(std::string_view key) {
  return std::find(kTableBrands.begin(), kTableBrands.end(), key) != kTableBrands.end();
}

std::optional<std::string_view> BrandDisplayName(std::string_view key) {
  const std::optional<std::size_t> index = BrandIndex(key);
  if (!index) return std::nullopt;
  return kDisplayNames[*index];
}

std::optional<std::string_view> ChooserBrandKey(int index) {
  if (index < 0 || index >= static_cast<int>(kChooserKeys.size())) return std::nullopt;
  return kChooserKeys[static_cast<std::size_t>(index)];
}

std::string NormalizeNumber(std::string_view number) {
  std::string result;
  result.reserve(number.size());
  AppendNormalizedNumber(result, number);
  return result;
}

void AppendNormalizedNumber(std::string& out, std::string_view number) {
  bool leading = true;
  for (const char c : number) {
    if (IsLineBreak(c)) continue;
    if (leading && IsZero(c)) continue;
    leading = false;
    out += c;
  }
}

bool SameNumber(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  const auto skipLeading = [](std::string_view s, std::size_t& pos) {
    while (pos < s.size() && (IsLineBreak(s[pos]) || IsZero(s[pos]))) ++pos;
  };
  const auto skipBreaks = [](std::string_view s, std::size_t& pos) {
    while (pos < s.size() && IsLineBreak(s[pos])) ++pos;
  };
  skipLeading(a, i);
  skipLeading(b, j);
  for (;;) {
    skipBreaks(a, i);
    skipBreaks(b, j);
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (a[i] != b[j]) return false;
    ++i;
    ++j;
  }
}

std::string_view FirstNumber(std::string_view list) { return list.substr(0, list.find(',')); }

void AppendNumber(std::string& list, std::string_view number) {
  if (!list.empty()) list += ',';
  list += number;
}

std::string FindColorCode(const Tables& tables, std::string_view list, std::string_view brand) {
  const std::int64_t at = tables.Index().FirstPalette(tables.PaletteTable(), brand, FirstNumber(list));
  return at < 0 ? std::string() : tables.PaletteTable()[static_cast<std::size_t>(at)].Code;
}

bool HTMLToColor(std::string_view text, std::uint32_t& color) {
  if (text.size() != 7 || text[0] != '#') return false;
  const std::uint32_t red = ReadComponent(text[1], text[2]);
  const std::uint32_t green = ReadComponent(text[3], text[4]);
  const std::uint32_t blue = ReadComponent(text[5], text[6]);
  color = red + green * 256 + blue * 65536;
  return true;
}

int ColorDistance(std::uint32_t a, std::uint32_t b) {
  int sum = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    sum += ca > cb ? ca - cb : cb - ca;
  }
  return sum;
}

}  // namespace talmeko::catalogue
