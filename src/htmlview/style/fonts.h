#pragma once
// Font selection for property sets, the process-wide font cache and the
// metrics of created fonts.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/canvas.h"
#include "platform/font_catalogue.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

class TProperties;

// What a property set says about its font. `desc` is what the canvas is asked
// for; the other fields keep the set's own terms.
struct TFontInfo {
  std::string family;  // the family chosen, as written or as a generic name maps
  double sizePoints = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  platform::Color color = platform::kSystemColorBase + platform::kColorWindowText;
  int charSet = platform::kDefaultCharset;
  int letterSpacing = 0;  // pixels
  platform::FontDesc desc;
  friend bool operator==(const TFontInfo&, const TFontInfo&) = default;
};

struct TFontInfoHash {
  std::size_t operator()(const TFontInfo& f) const noexcept;
};

// A font with the metrics measured from the created font.
class TMyFont : public TFontInfo {
 public:
  TMyFont() = default;
  explicit TMyFont(const TFontInfo& info) : TFontInfo(info) {}

  int tmHeight = 0;  // cell height
  int tmDescent = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int EmSize = 0;  // cell height less internal leading
  int ExSize = 0;
  int tmCharSet = platform::kDefaultCharset;  // the character set obtained

  // The normal line height of a run in this font.
  int LineHeight() const { return tmHeight + tmExternalLeading; }
};

// Selects the font on the canvas and copies its metrics into the font.
void FillFontMetrics(TMyFont& font, platform::Canvas& canvas);

// Interns font descriptions for the whole process, so equal fonts are one
// object that text runs can point to for as long as the program runs.
class TFontCache {
 public:
  static TFontCache& Instance();
  const TFontInfo* Intern(const TFontInfo& font);
  std::size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::unordered_set<TFontInfo, TFontInfoHash> fonts_;
};

// Turns property sets into fonts, checking families against the installed
// fonts; family lists seen before are answered from a table.
class TFontResolver {
 public:
  TFontResolver(const platform::FontCatalogue& catalogue, int pixelsPerInch)
      : catalogue_(&catalogue), pixelsPerInch_(pixelsPerInch) {}

  // The first installed family of a comma-separated list, generic names
  // replaced; the default family when none is installed.
  std::string ResolveFamily(std::string_view familyList, std::string_view defaultFamily);

  // The set's font, interned; remembered on the set for later requests.
  const TFontInfo* FontOf(const TProperties& props);
  TMyFont MyFontOf(const TProperties& props) { return TMyFont(*FontOf(props)); }

  int PixelsPerInch() const { return pixelsPerInch_; }

 private:
  const platform::FontCatalogue* catalogue_;
  int pixelsPerInch_;
  std::unordered_map<std::string, std::string> families_;
};

}  // namespace talmeko::htmlview
