#pragma once
// A page canvas for pagination tests: a sheet with round metrics whose pages
// are text-dumping canvases with fixed glyph widths, and a log of the
// document calls the paginator makes.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "preview/ht_printer.h"
#include "support/fake_canvas.h"

namespace talmeko::htmlview::testing {

// A canvas that fails on the given drawing call, as a broken device would.
class FailingCanvas : public talmeko::testing::RecordingCanvas {
 public:
  int failAfterTexts = -1;  // throws on this many texts drawn, -1 never
  void DrawText(int x, int y, std::u16string_view text, platform::Color color, platform::Color background) override {
    if (failAfterTexts == 0) throw std::runtime_error("device lost");
    if (failAfterTexts > 0) --failAfterTexts;
    RecordingCanvas::DrawText(x, y, text, color, background);
  }
};

class FakeSheet : public preview::ThtPrinter {
 public:
  // 96 pixels per inch, like the screen, so logical units are device pixels.
  explicit FakeSheet(int width = 960, int height = 1200, int dpi = 96) { SetSheet(width, height, dpi, 0, 0); }

  void SetSheet(int width, int height, int dpi, int offsetX, int offsetY) {
    sheet_ = {offsetX, offsetY, width, height, width - 2 * offsetX, height - 2 * offsetY, dpi, dpi};
  }

  platform::Canvas* GetPageCanvas() override { return pages_.empty() ? nullptr : pages_.back().get(); }
  int GetCurrentPage() override { return static_cast<int>(pages_.size()); }
  void StartDocument() override {
    VerifyPrinting(false);
    log += "start ";
    SetPrintingState(true);
    NewPage();
  }
  void StartNextPage() override {
    log += "next ";
    NewPage();
  }
  void FinishDocument() override {
    log += "finish";
    SetPrintingState(false);
  }
  void AbortDocument() override {
    log += "abort";
    SetPrintingState(false);
  }
  const char* ClassName() const override { return "TFakeSheet"; }

  // The texts drawn on a sheet within the page's columns, in order, joined by spaces.
  std::string TextsOn(std::size_t page, int leftEdge, int rightEdge) const {
    std::string out;
    for (const std::string& c : pages_.at(page)->Commands()) {
      if (c.rfind("text ", 0) != 0) continue;
      const int x = std::stoi(c.substr(5));
      if (x < leftEdge || x >= rightEdge) continue;
      const std::size_t open = c.find('\'');
      if (!out.empty()) out += ' ';
      out += c.substr(open + 1, c.find('\'', open + 1) - open - 1);
    }
    return out;
  }
  const FailingCanvas& Page(std::size_t i) const { return *pages_.at(i); }
  std::size_t Sheets() const { return pages_.size(); }

  std::string log;
  int failAfterTexts = -1;

 private:
  void NewPage() {
    pages_.push_back(std::make_unique<FailingCanvas>());
    pages_.back()->failAfterTexts = failAfterTexts;
  }
  std::vector<std::unique_ptr<FailingCanvas>> pages_;
};

}  // namespace talmeko::htmlview::testing
