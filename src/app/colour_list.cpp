#include "app/colour_list.h"

#include "app/texts.h"
#include "catalogue/brands.h"
#include "report/colour_item.h"

namespace talmeko::app {

void ColourList::KeyPress(char key) {
  if (key == '\r') AddColour();
  port_.ScrollColoursToTop();
}

void ColourList::AddColour() {
  const std::string text = port_.EntryText();
  if (text.empty()) return;
  WaitCursorGuard wait(port_);
  // No selection yields no brand key, and the item then names none.
  const std::string_view brand = catalogue::ChooserBrandKey(port_.PaletteIndex()).value_or(std::string_view());
  const std::string item = report::FormColourItem(text, brand);
  if (IsDuplicate(item)) {
    port_.ShowMessage(texts::Duplicate());
    port_.SetEntryText("");
    return;
  }
  port_.AppendColour(item);
  // After a palette change every row is built again; the new item's own
  // result decides whether it stays.
  const bool placed = PaletteChanged ? builder_.BuildAllRows() : builder_.BuildRow(text, brand);
  if (!placed) {
    port_.DeleteColour(port_.ColourCount() - 1);
    port_.ShowMessage(texts::NotInPalette());
  }
  PaletteChanged = false;
  port_.SetEntryText("");
}

bool ColourList::IsDuplicate(const std::string& item) const {
  const int count = port_.ColourCount();
  for (int i = 0; i < count; ++i) {
    if (port_.ColourItem(i) == item) return true;
  }
  return false;
}

void ColourList::RemoveSelected() {
  port_.DeleteSelectedColour();
  if (port_.ColourCount() == 0) DisableResultButtons();
  builder_.RebuildPage();
}

void ColourList::ClearColorList() {
  if (!port_.Confirm(texts::ConfirmClear())) return;
  port_.RemoveAllColours();
  builder_.ClearBody();
  port_.LoadDocument(std::string_view());
  DisableResultButtons();
  port_.FocusEntry();
}

void ColourList::DisableResultButtons() {
  port_.SetEnabled(Control::btnPrintPreview, false);
  port_.SetEnabled(Control::btnClear, false);
}

}  // namespace talmeko::app
