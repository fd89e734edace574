#pragma once
// The maker's website, shared by the dialogs, the site links and the update check.

#include <string>
#include <string_view>

namespace talmeko::app {

// A reserved name that reaches nobody, until the maker's real host is known.
inline constexpr std::string_view kWebsiteHost = "talmeko.example";

// "http://" followed by the host.
std::string WebsiteAddress();

// The update file on the website, or the whole address that the environment
// variable TALMEKO_UPDATE_URL holds, so tests can point it at a loopback server.
std::string UpdateFileAddress();

}  // namespace talmeko::app
