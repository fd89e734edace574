#include "platform/qt/qt_address_opener.h"

#include "platform/qt/qt_window_services.h"

namespace talmeko::platform::qt {

void QtAddressOpener::ShellExecuteA(std::string_view, std::string_view address, ShowState) { OpenAddress(address); }

}  // namespace talmeko::platform::qt
