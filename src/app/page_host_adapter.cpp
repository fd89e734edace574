#include "app/page_host_adapter.h"

#include <array>

namespace talmeko::app {

bool PageHostAdapter::ColumnShown(std::size_t column) const {
  static constexpr std::array<CheckBox, 5> kSwitches = {CheckBox::cbDMC, CheckBox::cbGamma, CheckBox::cbAnchor,
                                                       CheckBox::cbMadeira, CheckBox::cbkirov};
  return column < kSwitches.size() && port_.IsChecked(kSwitches[column]);
}

std::size_t PageHostAdapter::ColourCount() const {
  const int count = port_.ColourCount();
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void PageHostAdapter::EnableResultButtons() {
  port_.SetEnabled(Control::btnPrintPreview, true);
  port_.SetEnabled(Control::btnClear, true);
}

}  // namespace talmeko::app
