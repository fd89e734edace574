#pragma once
// Opening an address through Qt's desktop services, which hand it to the
// desktop's browser.

#include "platform/address_opener.h"

namespace talmeko::platform::qt {

// Every action opens the address, and the show state has no counterpart on
// the desktop: the browser shows itself as it always does.
class QtAddressOpener : public AddressOpener {
 public:
  void ShellExecuteA(std::string_view action, std::string_view address, ShowState show) override;
};

}  // namespace talmeko::platform::qt
