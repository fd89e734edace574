#pragma once
// The colour list of the main window: adding a colour with its duplicate
// check, removing one by double-click, clearing after confirmation.

#include "app/main_window_port.h"
#include "report/result_page_builder.h"

namespace talmeko::app {

class ColourList {
 public:
  ColourList(MainWindowPort& port, report::ResultPageBuilder& builder) : port_(port), builder_(builder) {}

  // A character reached the entry field: Enter adds the colour; every
  // character then scrolls the list back to its first item.
  void KeyPress(char key);
  void AddColour();
  void RemoveSelected();
  void ClearColorList();

  void SetPaletteChanged(bool changed) { PaletteChanged = changed; }
  bool IsPaletteChanged() const { return PaletteChanged; }

 private:
  bool IsDuplicate(const std::string& item) const;
  void DisableResultButtons();

  MainWindowPort& port_;
  report::ResultPageBuilder& builder_;
  bool PaletteChanged = false;
};

}  // namespace talmeko::app
