// Any bytes loaded into the view: parsing must end, without a crash, a leak
// or undefined behaviour, whatever the page holds.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "htmlview/html_view.h"

namespace {

class SomeFonts final : public talmeko::platform::FontCatalogue {
 public:
  bool IsInstalled(std::string_view family) const override { return family.size() % 2 == 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talmeko::htmlview;
  static const SomeFonts fonts;
  THtmlView view(fonts, talmeko::platform::ScreenInfo{});
  std::stringstream stream(std::string(reinterpret_cast<const char*>(data), size));
  view.LoadFromStream(&stream, "", TDocType::HTMLType);
  // A second load replaces the first completely.
  std::stringstream again("<table><tr><td>x</table>");
  view.LoadFromStream(&again, "", TDocType::HTMLType);
  return 0;
}
