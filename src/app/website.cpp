#include "app/website.h"

namespace talmeko::app {

std::string WebsiteAddress() { return "http://" + std::string(kWebsiteHost); }

}  // namespace talmeko::app
