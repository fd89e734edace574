#pragma once
// What the result page builder needs of the main window, in its own terms.

#include <cstddef>
#include <string>
#include <string_view>

namespace talmeko::report {

class PageHost {
 public:
  virtual ~PageHost() = default;

  // Whether the switch of a column (0 DMC .. 4 kirov, column order) is on.
  virtual bool ColumnShown(std::size_t column) const = 0;
  // Whether the nearest-colour switch is on.
  virtual bool NearestColourMode() const = 0;

  virtual std::size_t ColourCount() const = 0;
  virtual std::string ColourItem(std::size_t index) const = 0;
  virtual void RepaintColourList() = 0;

  // Loads the bytes into the HTML view as an HTML document with an empty
  // name; the view reads them from the first byte.
  virtual void LoadPage(std::string_view bytes) = 0;
  // Enables the print-preview and clear buttons.
  virtual void EnableResultButtons() = 0;

  // Calls come in pairs and nest: the cursor is back to normal only after
  // the last "off".
  virtual void SetWaitCursor(bool on) = 0;
};

}  // namespace talmeko::report
