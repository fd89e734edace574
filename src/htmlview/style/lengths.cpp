#include "htmlview/style/lengths.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "htmlview/style/properties.h"

namespace talmeko::htmlview {
namespace {

constexpr double kLimit = 1.0e7;

// Splits "12.5pt" into 12.5 and "pt"; false when the text does not start
// with a number.
bool SplitNumber(std::string_view text, double& number, std::string_view& unit) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const std::size_t n = text.size();
  std::size_t i = 0;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  // Wraps harmlessly for long digit runs, which are not read from it.
  std::uint64_t whole = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
    ++i;
  }
  const std::size_t wholeDigits = i - digitsStart;
  bool fraction = false;
  std::size_t fractionDigits = 0;
  if (i < n && text[i] == '.') {
    fraction = true;
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
      ++i;
      ++fractionDigits;
    }
  }
  if (wholeDigits == 0 && fractionDigits == 0) return false;
  if (!fraction && wholeDigits <= 15) {
    // A whole number of up to 15 digits is exact as a double: no need for
    // the general conversion.
    number = static_cast<double>(static_cast<std::int64_t>(whole));
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

namespace {

// Up to seven digits with "px" or no unit, nothing else: the length pages
// write most, read without going through a double. Such a number is below
// the limit and needs no rounding, so the general path gives the same.
bool PlainPixels(std::string_view text, int& pixels) {
  std::size_t n = text.size();
  if (n >= 2 && text[n - 2] == 'p' && text[n - 1] == 'x') n -= 2;
  if (n == 0 || n > 7) return false;
  int value = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) return false;
    value = value * 10 + static_cast<int>(digit);
  }
  pixels = value;
  return true;
}

}  // namespace

bool LengthToPixels(std::string_view text, int base, const TLengthContext& ctx, int& pixels) {
  if (PlainPixels(text, pixels)) return true;
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
