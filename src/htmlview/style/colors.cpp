#include "htmlview/style/colors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "htmlview/style/name_table.h"

namespace talmeko::htmlview {
namespace {

using platform::Color;

struct NamedColor {
  std::string_view name;
  Color color;  // already in 00BBGGRR form
};

constexpr std::array<NamedColor, 147> kNamedColors = {{
    {"aliceblue", 0xfff8f0}, {"antiquewhite", 0xd7ebfa}, {"aqua", 0xffff00},
    {"aquamarine", 0xd4ff7f}, {"azure", 0xfffff0}, {"beige", 0xdcf5f5}, {"bisque", 0xc4e4ff},
    {"black", 0x000000}, {"blanchedalmond", 0xcdebff}, {"blue", 0xff0000}, {"blueviolet", 0xe22b8a},
    {"brown", 0x2a2aa5}, {"burlywood", 0x87b8de}, {"cadetblue", 0xa09e5f}, {"chartreuse", 0x00ff7f},
    {"chocolate", 0x1e69d2}, {"coral", 0x507fff}, {"cornflowerblue", 0xed9564},
    {"cornsilk", 0xdcf8ff}, {"crimson", 0x3c14dc}, {"cyan", 0xffff00}, {"darkblue", 0x8b0000},
    {"darkcyan", 0x8b8b00}, {"darkgoldenrod", 0x0b86b8}, {"darkgray", 0xa9a9a9},
    {"darkgreen", 0x006400}, {"darkgrey", 0xa9a9a9}, {"darkkhaki", 0x6bb7bd},
    {"darkmagenta", 0x8b008b}, {"darkolivegreen", 0x2f6b55}, {"darkorange", 0x008cff},
    {"darkorchid", 0xcc3299}, {"darkred", 0x00008b}, {"darksalmon", 0x7a96e9},
    {"darkseagreen", 0x8fbc8f}, {"darkslateblue", 0x8b3d48}, {"darkslategray", 0x4f4f2f},
    {"darkslategrey", 0x4f4f2f}, {"darkturquoise", 0xd1ce00}, {"darkviolet", 0xd30094},
    {"deeppink", 0x9314ff}, {"deepskyblue", 0xffbf00}, {"dimgray", 0x696969}, {"dimgrey", 0x696969},
    {"dodgerblue", 0xff901e}, {"firebrick", 0x2222b2}, {"floralwhite", 0xf0faff},
    {"forestgreen", 0x228b22}, {"fuchsia", 0xff00ff}, {"gainsboro", 0xdcdcdc},
    {"ghostwhite", 0xfff8f8}, {"gold", 0x00d7ff}, {"goldenrod", 0x20a5da}, {"gray", 0x808080},
    {"green", 0x008000}, {"greenyellow", 0x2fffad}, {"grey", 0x808080}, {"honeydew", 0xf0fff0},
    {"hotpink", 0xb469ff}, {"indianred", 0x5c5ccd}, {"indigo", 0x82004b}, {"ivory", 0xf0ffff},
    {"khaki", 0x8ce6f0}, {"lavender", 0xfae6e6}, {"lavenderblush", 0xf5f0ff},
    {"lawngreen", 0x00fc7c}, {"lemonchiffon", 0xcdfaff}, {"lightblue", 0xe6d8ad},
    {"lightcoral", 0x8080f0}, {"lightcyan", 0xffffe0}, {"lightgoldenrodyellow", 0xd2fafa},
    {"lightgray", 0xd3d3d3}, {"lightgreen", 0x90ee90}, {"lightgrey", 0xd3d3d3},
    {"lightpink", 0xc1b6ff}, {"lightsalmon", 0x7aa0ff}, {"lightseagreen", 0xaab220},
    {"lightskyblue", 0xface87}, {"lightslategray", 0x998877}, {"lightslategrey", 0x998877},
    {"lightsteelblue", 0xdec4b0}, {"lightyellow", 0xe0ffff}, {"lime", 0x00ff00},
    {"limegreen", 0x32cd32}, {"linen", 0xe6f0fa}, {"magenta", 0xff00ff}, {"maroon", 0x000080},
    {"mediumaquamarine", 0xaacd66}, {"mediumblue", 0xcd0000}, {"mediumorchid", 0xd355ba},
    {"mediumpurple", 0xdb7093}, {"mediumseagreen", 0x71b33c}, {"mediumslateblue", 0xee687b},
    {"mediumspringgreen", 0x9afa00}, {"mediumturquoise", 0xccd148}, {"mediumvioletred", 0x8515c7},
    {"midnightblue", 0x701919}, {"mintcream", 0xfafff5}, {"mistyrose", 0xe1e4ff},
    {"moccasin", 0xb5e4ff}, {"navajowhite", 0xaddeff}, {"navy", 0x800000}, {"oldlace", 0xe6f5fd},
    {"olive", 0x008080}, {"olivedrab", 0x238e6b}, {"orange", 0x00a5ff}, {"orangered", 0x0045ff},
    {"orchid", 0xd670da}, {"palegoldenrod", 0xaae8ee}, {"palegreen", 0x98fb98},
    {"paleturquoise", 0xeeeeaf}, {"palevioletred", 0x9370db}, {"papayawhip", 0xd5efff},
    {"peachpuff", 0xb9daff}, {"peru", 0x3f85cd}, {"pink", 0xcbc0ff}, {"plum", 0xdda0dd},
    {"powderblue", 0xe6e0b0}, {"purple", 0x800080}, {"red", 0x0000ff}, {"rosybrown", 0x8f8fbc},
    {"royalblue", 0xe16941}, {"saddlebrown", 0x13458b}, {"salmon", 0x7280fa},
    {"sandybrown", 0x60a4f4}, {"seagreen", 0x578b2e}, {"seashell", 0xeef5ff}, {"sienna", 0x2d52a0},
    {"silver", 0xc0c0c0}, {"skyblue", 0xebce87}, {"slateblue", 0xcd5a6a}, {"slategray", 0x908070},
    {"slategrey", 0x908070}, {"snow", 0xfafaff}, {"springgreen", 0x7fff00}, {"steelblue", 0xb48246},
    {"tan", 0x8cb4d2}, {"teal", 0x808000}, {"thistle", 0xd8bfd8}, {"tomato", 0x4763ff},
    {"turquoise", 0xd0e040}, {"violet", 0xee82ee}, {"wheat", 0xb3def5}, {"white", 0xffffff},
    {"whitesmoke", 0xf5f5f5}, {"yellow", 0x00ffff}, {"yellowgreen", 0x32cd9a},
}};

constexpr std::array<TNamedValue<Color>, kNamedColors.size() + 1> ColorNames() {
  std::array<TNamedValue<Color>, kNamedColors.size() + 1> names{};
  for (std::size_t i = 0; i < kNamedColors.size(); ++i) names[i] = {kNamedColors[i].name, kNamedColors[i].color};
  names[kNamedColors.size()] = {"transparent", platform::kNoColor};
  return names;
}

constexpr TNameTable<Color, 512> kColorTable(ColorNames());

// The general parse reads any text holding "rgb" or "hsl" as a notation, so
// a name holding either could never be found by it.
constexpr bool NoNameHoldsANotation() {
  for (const auto& n : kNamedColors) {
    if (n.name.find("rgb") != std::string_view::npos || n.name.find("hsl") != std::string_view::npos) return false;
  }
  return true;
}
static_assert(NoNameHoldsANotation());

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool LookupName(std::string_view name, Color& color) {
  const Color* found = kColorTable.Find(name);
  if (!found) return false;
  color = *found;
  return true;
}

// Reads up to four comma-separated numbers between the parentheses; a
// component written with "%" is reported so callers can scale it.
int ReadComponents(std::string_view text, std::array<double, 4>& values, std::array<bool, 4>& percent) {
  const std::size_t open = text.find('(');
  const std::size_t close = text.find(')', open == std::string_view::npos ? 0 : open);
  if (open == std::string_view::npos || close == std::string_view::npos) return 0;
  std::string inner(text.substr(open + 1, close - open - 1));
  int count = 0;
  const char* p = inner.c_str();
  while (*p && count < 4) {
    while (*p == ' ' || *p == ',') ++p;
    if (!*p) break;
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p || !std::isfinite(v)) return 0;
    values[count] = v;
    percent[count] = *end == '%';
    ++count;
    p = end;
    if (*p == '%') ++p;
    while (*p == ' ') ++p;
    if (*p && *p != ',') return 0;
  }
  return count;
}

int Clamp255(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

bool ParseRgb(std::string_view text, Color& color) {
  std::array<double, 4> v{};
  std::array<bool, 4> pct{};
  if (ReadComponents(text, v, pct) < 3) return false;
  int c[3];
  for (int i = 0; i < 3; ++i) c[i] = Clamp255(pct[i] ? v[i] * 255.0 / 100.0 : v[i]);
  color = platform::Rgb(c[0], c[1], c[2]);
  return true;
}

double HueToRgb(double m1, double m2, double h) {
  if (h < 0) h += 1;
  if (h > 1) h -= 1;
  if (h * 6 < 1) return m1 + (m2 - m1) * h * 6;
  if (h * 2 < 1) return m2;
  if (h * 3 < 2) return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
  return m1;
}

bool ParseHsl(std::string_view text, Color& color) {
  std::array<double, 4> v{};
  std::array<bool, 4> pct{};
  if (ReadComponents(text, v, pct) < 3) return false;
  double h = std::fmod(v[0], 360.0) / 360.0;
  if (h < 0) h += 1;
  const double s = std::clamp(v[1] / 100.0, 0.0, 1.0);
  const double l = std::clamp(v[2] / 100.0, 0.0, 1.0);
  const double m2 = l <= 0.5 ? l * (s + 1) : l + s - l * s;
  const double m1 = l * 2 - m2;
  color = platform::Rgb(Clamp255(HueToRgb(m1, m2, h + 1.0 / 3.0) * 255),
                        Clamp255(HueToRgb(m1, m2, h) * 255),
                        Clamp255(HueToRgb(m1, m2, h - 1.0 / 3.0) * 255));
  return true;
}

// Hexadecimal digits, lower case, with "#" anywhere among them: "#" marks
// the text as hexadecimal and is otherwise ignored. One to three digits are
// each doubled; four to six are read as they are.
bool ParseHex(std::string_view text, bool needsHash, Color& color) {
  std::array<char, 6> digits{};
  std::size_t count = 0;
  bool hash = false;
  for (char c : text) {
    if (c == '#') {
      hash = true;
    } else {
      if (count == digits.size()) return false;
      digits[count++] = c;
    }
  }
  if ((!hash && needsHash) || count == 0) return false;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = digits[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return false;
    value = value * 16 + static_cast<std::uint32_t>(d);
    if (count <= 3) value = value * 16 + static_cast<std::uint32_t>(d);
  }
  color = ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
  return true;
}

// The text is trimmed and in lower case.
bool ParseTrimmed(std::string_view text, bool needsHash, Color& color) {
  if (text.find("rgb") != std::string_view::npos) return ParseRgb(text, color);
  if (text.find("hsl") != std::string_view::npos) return ParseHsl(text, color);
  if (text[0] != '#' && LookupName(text, color)) return true;
  return ParseHex(text, needsHash, color);
}

}  // namespace

bool ColorFromName(std::string_view lowerName, Color& color) { return LookupName(lowerName, color); }

bool ColorFromString(std::string_view text, bool needsHash, Color& color) {
  if (text.empty()) return false;
  // "#rrggbb" and "#rgb" as pages mostly write them; the general parse
  // gives the same colour for these.
  if (ColorFromHexCode(text, color)) return true;
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && IsSpace(text[b])) ++b;
  while (e > b && IsSpace(text[e - 1])) --e;
  if (b == e) return false;
  text = text.substr(b, e - b);
  // Colour texts are short; a long one (an rgb() with spaces, or garbage)
  // is lowered on the heap.
  std::array<char, 64> local{};
  std::string heap;
  char* lower = local.data();
  if (text.size() > local.size()) {
    heap.resize(text.size());
    lower = heap.data();
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return ParseTrimmed(std::string_view(lower, text.size()), needsHash, color);
}

}  // namespace talmeko::htmlview
