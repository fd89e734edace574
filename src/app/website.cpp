#include "app/website.h"

#include <cstdlib>

namespace talmeko::app {

std::string WebsiteAddress() { return "http://" + std::string(kWebsiteHost); }

std::string UpdateFileAddress() {
  if (const char* address = std::getenv("TALMEKO_UPDATE_URL"); address && *address) return address;
  return WebsiteAddress() + "/talmeko.update";
}

}  // namespace talmeko::app
