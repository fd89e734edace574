#pragma once
// The view's published properties that the result page relies on, with the
// values the main window leaves them at.

#include <string>

#include "platform/canvas.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

enum class TQuirksMode { qmDetect, qmStandards, qmQuirks };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TBorderStyle { htNone, htSingle };

// Options of the view; the main window uses the two printing ones.
enum THtOption : unsigned {
  htNoLinkUnderline = 1u << 0,
  htShowVScroll = 1u << 1,
  htNoWheelMouse = 1u << 2,
  htPrintTableBackground = 1u << 3,
  htPrintBackground = 1u << 4,
  htPrintMonochromeBlack = 1u << 5,
};

struct ViewDefaults {
  std::string DefFontName = "Times New Roman";
  std::string DefPreFontName = "Courier New";
  double DefFontSize = 12;  // points
  platform::Color DefFontColor = platform::kSystemColorBase + platform::kColorWindowText;
  platform::Color DefBackground = platform::kSystemColorBase + platform::kColorWindow;
  platform::Color DefHotSpotColor = 0xFF0000;
  platform::Color DefVisitedLinkColor = 0x800080;
  platform::Color DefOverLinkColor = 0xFF00FF;
  int MarginWidth = 10;
  int MarginHeight = 5;
  int CharSet = platform::kDefaultCharset;
  TQuirksMode QuirksMode = TQuirksMode::qmDetect;
  TBorderStyle BorderStyle = TBorderStyle::htNone;
  TScrollStyle ScrollBars = TScrollStyle::ssBoth;
  bool NoSelect = false;
  unsigned HtOptions = htPrintTableBackground | htPrintMonochromeBlack;
  bool ViewImages = true;
  int HistoryMaxCount = 6;
  int ImageCacheCount = 6;
  int VisitedMaxCount = 50;
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;
  double PrintScale = 1.0;
  int PrintMaxHPages = 2;
};

}  // namespace talmeko::htmlview
