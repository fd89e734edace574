#pragma once
// A document and a host for the view logic tests. The document's height
// depends on the width it is laid out for, so tests can decide which widths
// need the vertical bar; characters sit one per 10 pixels down the page.

#include <functional>
#include <string>
#include <vector>

#include "htmlview/layout/view_document.h"
#include "htmlview/view/view_host.h"

namespace talmeko::htmlview::testing {

class FakeViewDocument : public TViewDocument {
 public:
  std::function<int(int width)> heightForWidth = [](int) { return 100; };
  int scrollWidth = 0;  // 0: as wide as the layout width
  bool content = true;
  std::vector<int> layoutWidths;
  std::vector<TPaintContext> paints;

  bool HasContent() const override { return content; }
  TLayoutResult LayOut(platform::Canvas&, int width, int) override {
    layoutWidths.push_back(width);
    return {heightForWidth(width), scrollWidth > width ? scrollWidth : width};
  }
  void Paint(platform::Canvas& canvas, const TPaintContext& context) override {
    paints.push_back(context);
    canvas.FillRect({context.xOffset, 5 - context.yTop, context.xOffset + 40, 25 - context.yTop}, 0x0088FF);
  }
  int CharPosAt(platform::Point p) const override { return p.y < 0 ? 0 : p.y / 10; }
  TSelection WordAt(int position) const override {
    const int start = position - position % 5;
    return {start, start + 5};
  }
  std::u16string SelectedText(TSelection selection) const override {
    return selection.IsEmpty() ? std::u16string() : u"selected";
  }
};

class FakeViewHost : public TViewHost {
 public:
  int barChanges = 0;
  int invalidations = 0;
  std::vector<std::string> scrolls;
  bool timerActive = false;

  void ScrollBarsChanged() override { ++barChanges; }
  void Invalidate() override { ++invalidations; }
  void ScrollImage(int dx, int dy) override { scrolls.push_back(std::to_string(dx) + "," + std::to_string(dy)); }
  void SetTimerActive(bool active) override { timerActive = active; }
};

}  // namespace talmeko::htmlview::testing
