#pragma once
// Colour values of style texts.

#include <string_view>

#include "platform/geometry.h"

namespace talmeko::htmlview {

// Parses a colour: a CSS colour name, "transparent" (no colour), rgb()/rgba()
// and hsl()/hsla() notations, or hexadecimal digits RRGGBB or RGB. With
// needsHash set, hexadecimal digits count only when written after "#".
// Returns false when the text is no colour; the colour is then untouched.
bool ColorFromString(std::string_view text, bool needsHash, platform::Color& color);

}  // namespace talmeko::htmlview
