#pragma once
// Gives the result page builder the main window it needs, over the port.

#include "app/main_window_port.h"
#include "report/page_host.h"

namespace talmeko::app {

class PageHostAdapter final : public report::PageHost {
 public:
  explicit PageHostAdapter(MainWindowPort& port) : port_(port) {}

  bool ColumnShown(std::size_t column) const override;
  bool NearestColourMode() const override { return port_.IsChecked(CheckBox::cbColorFind); }
  std::size_t ColourCount() const override;
  std::string ColourItem(std::size_t index) const override { return port_.ColourItem(static_cast<int>(index)); }
  void RepaintColourList() override { port_.RepaintColours(); }
  void LoadPage(std::string_view bytes) override { port_.LoadDocument(bytes); }
  void EnableResultButtons() override;
  void SetWaitCursor(bool on) override { port_.SetWaitCursor(on); }

 private:
  MainWindowPort& port_;
};

}  // namespace talmeko::app
