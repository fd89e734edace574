#pragma once
// Lengths of style texts converted to pixels.

#include <string_view>

namespace talmeko::htmlview {

class TPropValue;

struct TLengthContext {
  int pixelsPerInch = 96;
  double emSize = 16;  // pixels
  double exSize = 8;   // pixels
};

// A number with an optional unit: none or "px" as is, "pt", "pc", "in", "cm",
// "mm" through the screen's pixels per inch, "em"/"ex" through the font, "%"
// of the base. The result is rounded. False for texts that are no length
// ("auto", keywords, garbage); pixels is then untouched.
bool LengthToPixels(std::string_view text, int base, const TLengthContext& ctx, int& pixels);

// The same for a slot: integers and reals count as pixels; not-set and empty
// slots are no length.
bool ValueToPixels(const TPropValue& value, int base, const TLengthContext& ctx, int& pixels);

// Rounds halves to even and keeps the result well inside the int range, so
// hostile documents cannot overflow the layout's arithmetic.
int RoundToPixels(double value);

}  // namespace talmeko::htmlview
