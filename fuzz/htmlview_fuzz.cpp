// Any bytes loaded into the view: parsing, layout at several widths and
// painting must end, without a crash, a leak or undefined behaviour, whatever
// the page holds.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "htmlview/layout/document_view.h"
#include "htmlview/view/html_view.h"
#include "support/fake_canvas.h"

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
  THtmlDocumentView laidOut(view.Document(), talmeko::platform::ScreenInfo{});
  talmeko::testing::FakeCanvas canvas;
  for (int width : {0, 1, 317, 7000}) {
    const TLayoutResult result = laidOut.LayOut(canvas, width, 300);
    TPaintContext context;
    context.clip = {0, 0, 6000, 300};
    context.yTop = result.documentHeight / 2;
    context.selection = {1, laidOut.TextLength()};
    laidOut.Paint(canvas, context);
    const int at = laidOut.CharPosAt({width / 2, context.yTop + 10});
    laidOut.WordAt(at);
  }
  // A second load replaces the first completely.
  std::stringstream again("<table><tr><td>x</table>");
  view.LoadFromStream(&again, "", TDocType::HTMLType);
  return 0;
}
