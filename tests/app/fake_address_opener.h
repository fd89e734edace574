#pragma once
// An address opener that records what it was asked to open.

#include <string>
#include <string_view>
#include <vector>

#include "platform/address_opener.h"

namespace talmeko::app {

struct OpenedAddress {
  std::string action;
  std::string address;
  platform::ShowState show;
  bool operator==(const OpenedAddress&) const = default;
};

class FakeAddressOpener : public platform::AddressOpener {
 public:
  void ShellExecuteA(std::string_view action, std::string_view address, platform::ShowState show) override {
    opened.push_back({std::string(action), std::string(address), show});
  }
  std::vector<OpenedAddress> opened;
};

}  // namespace talmeko::app
