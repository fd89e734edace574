#pragma once
// Which font families are installed, and the screen facts font sizes depend on.

#include <string_view>

#include "platform/geometry.h"

namespace talmeko::platform {

class FontCatalogue {
 public:
  virtual ~FontCatalogue() = default;
  // Case-insensitive. Arial, Times New Roman and Courier New count as installed
  // where the system maps them to metric-compatible fonts.
  virtual bool IsInstalled(std::string_view family) const = 0;
};

// The screen facts the view needs; the Qt side supplies the real ones.
struct ScreenInfo {
  int pixelsPerInch = 96;
  Color windowColor = Rgb(255, 255, 255);       // system colour "window background"
  Color windowTextColor = Rgb(0, 0, 0);         // system colour "window text"
  Color btnShadowColor = Rgb(160, 160, 160);
  Color btnHighlightColor = Rgb(255, 255, 255);
  int verticalScrollBarWidth = 17;
  int horizontalScrollBarHeight = 17;
  int wheelScrollLines = 3;
};

// Resolves a system colour (0xFF000000 + index) to RGB; other colours pass through.
constexpr Color ResolveColor(Color c, const ScreenInfo& screen) {
  if (!IsSystemColor(c)) return c;
  switch (c & 0xFF) {
    case kColorWindow: return screen.windowColor;
    case kColorWindowText: return screen.windowTextColor;
    case kColorBtnShadow: return screen.btnShadowColor;
    case kColorBtnHighlight: return screen.btnHighlightColor;
    default: return screen.windowTextColor;
  }
}

}  // namespace talmeko::platform
