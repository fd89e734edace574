#pragma once
// The maker's website, shared by the dialogs, the site links and the update check.

#include <string>
#include <string_view>

namespace talmeko::app {

// A reserved name that reaches nobody, until the maker's real host is known.
inline constexpr std::string_view kWebsiteHost = "talmeko.example";

// "http://" followed by the host.
std::string WebsiteAddress();

}  // namespace talmeko::app
