#pragma once
// Opening an address in the user's browser, as the desktop chooses it.

#include <string_view>

namespace talmeko::platform {

// How the window that shows the address is to appear.
enum class ShowState : int { SW_SHOW = 5, SW_SHOWDEFAULT = 10 };

class AddressOpener {
 public:
  virtual ~AddressOpener() = default;
  // An empty action asks for the desktop's default one. A failure is not
  // reported: with no browser nothing visible happens.
  virtual void ShellExecuteA(std::string_view action, std::string_view address, ShowState show) = 0;
};

}  // namespace talmeko::platform
