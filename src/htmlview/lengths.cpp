#include "htmlview/lengths.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "htmlview/properties.h"

namespace talmeko::htmlview {
namespace {

constexpr double kLimit = 1.0e7;

// Splits "12.5pt" into 12.5 and "pt"; false when the text does not start
// with a number.
bool SplitNumber(std::string_view text, double& number, std::string_view& unit) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  bool digits = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') { ++i; digits = true; }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') { ++i; digits = true; }
  }
  if (!digits || i == digitsStart) return false;
  if (i - digitsStart <= 15 && text.substr(digitsStart, i - digitsStart).find('.') == std::string_view::npos) {
    // A whole number of up to 15 digits is exact as a double: no need for
    // the general conversion.
    std::int64_t whole = 0;
    for (std::size_t k = digitsStart; k < i; ++k) whole = whole * 10 + (text[k] - '0');
    number = static_cast<double>(whole);
    if (digitsStart > 0 && text[0] == '-') number = -number;
  } else {
    const std::string numberText(text.substr(0, i));
    number = std::strtod(numberText.c_str(), nullptr);
  }
  unit = text.substr(i);
  while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  return std::isfinite(number);
}

}  // namespace

int RoundToPixels(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

bool LengthToPixels(std::string_view text, int base, const TLengthContext& ctx, int& pixels) {
  double n = 0;
  std::string_view unit;
  if (!SplitNumber(text, n, unit)) return false;
  const double ppi = ctx.pixelsPerInch;
  double px;
  if (unit.empty() || unit == "px") px = n;
  else if (unit == "pt") px = n * ppi / 72.0;
  else if (unit == "pc") px = n * ppi / 6.0;
  else if (unit == "in") px = n * ppi;
  else if (unit == "cm") px = n * ppi / 2.54;
  else if (unit == "mm") px = n * ppi / 25.4;
  else if (unit == "em") px = n * ctx.emSize;
  else if (unit == "ex") px = n * ctx.exSize;
  else if (unit == "%") px = n * base / 100.0;
  else return false;
  pixels = RoundToPixels(px);
  return true;
}

bool ValueToPixels(const TPropValue& value, int base, const TLengthContext& ctx, int& pixels) {
  if (value.HoldsNoValue()) return false;
  if (value.IsNumber()) {
    pixels = RoundToPixels(value.Real());
    return true;
  }
  return LengthToPixels(value.Text(), base, ctx, pixels);
}

}  // namespace talmeko::htmlview
